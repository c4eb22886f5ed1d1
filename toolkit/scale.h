// Display scale: the application and the control model work in logical
// pixels (96 DPI); a window at scale s has s device pixels per logical one.
// The hosts and the graphics backends convert at their boundary with these
// functions, so every host rounds the same way.
#pragma once

#include <span>

#include "toolkit/geometry.h"

namespace qh {

// The scales a window takes: Windows' scaling steps up to 300 %.
inline constexpr float kScaleSteps[] = {1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.5f, 3.0f};
inline constexpr int kLogicalDpi = 96;

// The step nearest to a wanted scale (a DPI ÷ 96, a user's setting); 1 for
// anything that is no positive number.
float NearestScaleStep(double wanted);
// The scale of a DPI: dpi ÷ 96, to the nearest step.
float ScaleOfDpi(double dpi);
// A scale given as text ("1.5", "2"): its nearest step, or 0 when the text
// is no number.
float ParseScale(const char* text);

// The scale of a Linux desktop: QINGHE_SCALE (the user's or a test's
// choice) when it is a scale; else Xft.dpi from the X resources (the text
// of the RESOURCE_MANAGER property, or null) ÷ 96; else GDK_SCALE, as GTK
// programs beside ours take it; else 1.
float ChooseDesktopScale(const char* qingheScale, const char* xResources, const char* gdkScale);

// A logical length or coordinate in device pixels, rounded to the nearest.
int ToDevice(int logical, float scale);
// A logical rectangle in device pixels: its edges rounded, so that adjoining
// rectangles stay adjoining.
RectI ToDevice(const RectI& logical, float scale);
// The device pixels a logical float rectangle touches, within a device area
// of width x height.
RectI DevicePixelBounds(const RectF& logical, float scale, int width, int height);
// A device position (a mouse position) in logical pixels: the logical pixel
// that holds the device pixel's centre, so every device pixel a control
// covers for the most part hits that control, at its edges too.
int ToLogical(int device, float scale);
// A device rectangle (a window's size) in logical pixels, rounded to the nearest.
RectI ToLogical(const RectI& device, float scale);

}  // namespace qh
