#include "app/watermark_text_style.h"

WatermarkTextStyle& TheWatermarkTextStyle() {
    static WatermarkTextStyle style;
    return style;
}
