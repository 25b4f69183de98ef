#include "imaging/gdip_handles.h"

gdip::Status GdipMatrix::Create() {
    gdip::GpMatrix* matrix = nullptr;
    const gdip::Status status = gdip::Table().GdipCreateMatrix(&matrix);
    Attach(matrix);
    return status;
}

gdip::Status GdipMatrix::Create(float m11, float m12, float m21, float m22, float dx, float dy) {
    gdip::GpMatrix* matrix = nullptr;
    const gdip::Status status =
        gdip::Table().GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &matrix);
    Attach(matrix);
    return status;
}

gdip::Status GdipMatrix::GetElements(float (&elements)[6]) const {
    return gdip::Table().GdipGetMatrixElements(Handle(), elements);
}

gdip::Status GdipPath::Create(int fillMode) {
    gdip::GpPath* path = nullptr;
    const gdip::Status status = gdip::Table().GdipCreatePath(fillMode, &path);
    Attach(path);
    return status;
}

gdip::Status GdipPath::AddRectangle(const gdip::RectF& rect) {
    return gdip::Table().GdipAddPathRectangle(Handle(), rect.x, rect.y, rect.width, rect.height);
}

gdip::Status GdipPath::GetPointCount(int& count) const {
    INT points = 0;
    const gdip::Status status = gdip::Table().GdipGetPointCount(Handle(), &points);
    count = points;
    return status;
}
