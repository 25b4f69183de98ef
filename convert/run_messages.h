// The texts a batch run shows: its message boxes and the progress lines of its record.
#pragma once

#include <string>

// Message boxes of the run's checks and of its end: owner the main window, an OK button and one
// of two icons.
extern const char* const kNoPicturesMessage;          // "请先添加需要转换的图片"
extern const char* const kNoWatermarkPictureMessage;  // "请设置水印图片"
extern const char* const kNoTaskMessage;              // two lines: choose a task, for example ...
extern const char* const kNoFolderMessage;            // "请设置保存目录"
extern const char* const kInvalidFolderMessage;       // "无效的保存目录"
extern const char* const kErrorTitle;                 // "错误"
extern const char* const kNoticeTitle;                // "提示"
extern const char* const kDefaultMessageTitle;        // "信息："
constexpr unsigned kQuestionIcon = 0x20;
constexpr unsigned kInformationIcon = 0x40;

// The end of a run: "全部处理完毕" when every picture was written; otherwise a second line, after
// CR LF, that says how many were not: "其中 N 张图片未能转换，详见处理记录".
std::string RunFinishedMessage(int picturesNotWritten);

// Progress lines, each followed by the picture's file name, and the run's last line.
std::string WorkingLine(const std::string& fileName);        // "正在处理:"
std::string LoadFailedLine(const std::string& fileName);     // "载入失败:"
std::string SaveFailedLine(const std::string& fileName);     // "保存失败:"
std::string SkippedSourceLine(const std::string& fileName);  // "跳过(不覆盖原图):"
extern const char* const kRunDoneLine;                       // "处理完毕"
