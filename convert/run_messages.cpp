#include "convert/run_messages.h"

#include "forms/runtime/text.h"

const char* const kNoPicturesMessage = "请先添加需要转换的图片";
const char* const kNoWatermarkPictureMessage = "请设置水印图片";
const char* const kNoTaskMessage =
    "请选择一个需要处理的任务。\r\n比如‘转换格式’、‘改变尺寸’、‘文字水印’、‘图片水印’";
const char* const kNoFolderMessage = "请设置保存目录";
const char* const kInvalidFolderMessage = "无效的保存目录";
const char* const kErrorTitle = "错误";
const char* const kNoticeTitle = "提示";
const char* const kDefaultMessageTitle = "信息：";
const char* const kRunDoneLine = "处理完毕";

std::string RunFinishedMessage(int picturesNotWritten) {
    std::string message = "全部处理完毕";
    if (picturesNotWritten > 0) {
        message +=
            "\r\n其中 " + text::Decimal(picturesNotWritten) + " 张图片未能转换，详见处理记录";
    }
    return message;
}

std::string WorkingLine(const std::string& fileName) { return "正在处理:" + fileName; }
std::string LoadFailedLine(const std::string& fileName) { return "载入失败:" + fileName; }
std::string SaveFailedLine(const std::string& fileName) { return "保存失败:" + fileName; }
std::string SkippedSourceLine(const std::string& fileName) {
    return "跳过(不覆盖原图):" + fileName;
}
