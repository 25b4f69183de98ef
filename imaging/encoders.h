// The GDI+ encoder identifier of each output format (ImageFormatCode, imaging/image_format.h).
#pragma once

#include <windows.h>

// The identifier of the format's encoder, parsed from its text; 16 zero bytes for a code outside
// 1..5.
CLSID EncoderClsid(int formatCode);

// True for the 16 zero bytes of a code without an encoder.
bool IsNullClsid(const CLSID& clsid);
