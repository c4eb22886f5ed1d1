// What the GDI+ backend's sources share: the Windows and GDI+ headers and
// small helpers that turn the toolkit's values into GDI+ ones. Included only
// by the files of this folder.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "runtime/bind_import.h"
#include "toolkit/graphics.h"

namespace qh::gdiplus {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct NativeGraphics {
    GpBitmap* bitmap = nullptr;      // wraps the target's pixels
    GpGraphics* graphics = nullptr;
};

inline GpRectF ToGp(const RectF& r) { return GpRectF(r.left, r.top, r.width, r.height); }

// The functions the programs bind at run time rather than import.
struct BoundFunctions {
    using DrawLineFn = GpStatus(WINGDIPAPI*)(GpGraphics*, GpPen*, REAL, REAL, REAL, REAL);
    using CreatePen1Fn = GpStatus(WINGDIPAPI*)(ARGB, REAL, GpUnit, GpPen**);
    using MeasureStringFn = GpStatus(WINGDIPAPI*)(GpGraphics*, GDIPCONST WCHAR*, INT, GDIPCONST GpFont*,
                                                  GDIPCONST Gdiplus::RectF*, GDIPCONST GpStringFormat*, Gdiplus::RectF*,
                                                  INT*, INT*);
    using FillPathFn = GpStatus(WINGDIPAPI*)(GpGraphics*, GpBrush*, GpPath*);

    ImportSlot<DrawLineFn> drawLine{"gdiplus.dll", "GdipDrawLine"};
    ImportSlot<CreatePen1Fn> createPen1{"gdiplus.dll", "GdipCreatePen1"};
    ImportSlot<MeasureStringFn> measureString{"gdiplus.dll", "GdipMeasureString"};
    ImportSlot<FillPathFn> fillPath{"gdiplus.dll", "GdipFillPath"};
};
BoundFunctions& Bound();

// A pen of the toolkit's description; deleted with the object.
class ScopedPen {
public:
    explicit ScopedPen(const Pen& pen);
    ~ScopedPen();
    GpPen* get() const { return pen_; }

private:
    GpPen* pen_ = nullptr;
};

// A GDI+ path built from the toolkit's path.
class ScopedPath {
public:
    explicit ScopedPath(const Path& path);
    ~ScopedPath();
    GpPath* get() const { return path_; }

private:
    GpPath* path_ = nullptr;
};

}  // namespace qh::gdiplus
