#include "convert/conversion_settings.h"

ConversionSettings& TheConversionSettings() {
    static ConversionSettings settings;
    return settings;
}
