// calc_artwork_preview OUT.png: the calculator's images as the program shows
// them. The main window and the results window docked at its right edge are
// built in the headless host from the embedded images, with the translucent
// panels, picture tabs, side menu, help icon, separator, results strip and
// banner at their places, and the two windows are written side by side as
// one picture. It is how the artwork is judged before it is committed.
#include <cairo.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "calc/shell/calc_images.h"
#include "calc/shell/main_controls.h"
#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/controls/drawer_bar.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/side_button.h"
#include "toolkit/controls/tab_button.h"
#include "toolkit/draw.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {
namespace {

constexpr int kMainWidth = 600, kMainHeight = 440, kResultsWidth = 220;

struct TabEntry {
    const char* caption;
    CalcImage icon;
};
constexpr TabEntry kTabs[] = {
    {"房贷计算", CalcImage::TabHousing}, {"车贷计算", CalcImage::TabCar}, {"组合贷款", CalcImage::TabCombined},
    {"我要贷款", CalcImage::TabSearch},  {"关于青禾", CalcImage::TabAbout},
};
constexpr const char* kMenu[] = {"房贷计算", "二手房交易税", "车贷计算", "组合贷款", "我要贷款"};

// The main window's panels, drawn over the skin and under the controls.
void PaintPanels(Graphics& g, int width, int height) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const RectF form = MakeRect(125, 100, w - 85, h - 100);
    FillRect(g, form, MakeArgb(0xFFFFFF, 210));
    DrawRectStyled(g, form, MakeArgb(0xFFFFFF, 60));
    DrawLine(g, MakeArgb(0xFFFFFF, 60), form.left, form.top, form.left + form.width, form.top);
    DrawLine(g, MakeArgb(0xFFFFFF, 60), form.left, form.top, form.left, form.top + form.height);
    FillRect(g, MakeRect(5, 100, 121, h - 100), MakeArgb(0xFFFFFF, 110));
    DrawLine(g, MakeArgb(0xFFFFFF, 60), 7, 100, w - 7, 100);
}

// Lines of text one pitch apart from the top of r; the results window sets
// its rows this way so that they line up whatever the font's own spacing.
// The rows of labels and figures have a blank line between them (step 2).
void DrawLines(Graphics& g, std::initializer_list<const char*> lines, Argb color, RectF r, int align, int step = 2) {
    constexpr float kPitch = 14;
    const UiFont font = FontOf({});
    for (const char* line : lines) {
        DrawText(g, line, font, color, MakeRect(r.left, r.top, r.width, kPitch + 2), align);
        r.top += step * kPitch;
    }
}

// The results window's texts, drawn over the skin: headings, row labels with
// the housing example's figures, the separators and the closing note.
void PaintResults(Graphics& g, int width, const UiImage& separator) {
    const float w = static_cast<float>(width);
    const UiFont font = FontOf({});
    // MakeArgb takes a Windows COLORREF, 0xBBGGRR: the heading is RGB (0, 96, 192),
    // the figures RGB (0, 128, 0).
    const Argb heading = MakeArgb(0xC06000, 190), labels = MakeArgb(0x000000, 170), figures = MakeArgb(0x008000, 210);
    const RectF whole = MakeRect(0, 0, float(separator.Width()), float(separator.Height()));
    DrawGlowText(g, "每月等额还款", font, heading, MakeRect(14, 110, w, 20));
    g.DrawImage(separator.Pixels(), MakeRect(107, 115, 110, 2), whole, 255);
    DrawLines(g, {"贷款总额:", "每月还款:", "总支付利息:", "本息合计:"}, labels, MakeRect(15, 135, 70, 100), 2);
    DrawLines(g, {"1,000,000.00 元", "7,485.20 元", "796,447.27 元", "1,796,447.27 元"}, figures,
              MakeRect(85, 135, 130, 100), 0);
    DrawGlowText(g, "逐月递减还款", font, heading, MakeRect(14, 243, w, 20));
    g.DrawImage(separator.Pixels(), MakeRect(107, 248, 110, 2), whole, 255);
    DrawLines(g, {"贷款总额:", "首月还款:", "每月递减:", "总支付利息:", "本息合计:"}, labels,
              MakeRect(15, 264, 70, 140), 2);
    DrawLines(g, {"1,000,000.00 元", "9,625.00 元", "22.74 元", "657,729.17 元", "1,657,729.17 元"}, figures,
              MakeRect(85, 264, 130, 140), 0);
    g.DrawImage(separator.Pixels(), MakeRect(15, 395, w, 2), whole, 255);
    DrawLines(g, {"以上结果仅供参考", "实际缴费应以当地为准"}, MakeArgb(0x000000, 120), MakeRect(0, 402, w, 80), 1,
              1);
}

// Premultiplied ARGB pixels, as cairo's ARGB32 surfaces hold them.
cairo_surface_t* SurfaceOf(const Bitmap& image) {
    return cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.Data())), CAIRO_FORMAT_ARGB32,
        image.Width(), image.Height(), image.Stride());
}

// Both windows on a quiet desktop with a soft shadow. The program docks the
// results window over the main window's right edge; here it stands a little
// apart, so the results strip at that edge is seen too.
bool WritePreview(const Bitmap& main, const Bitmap& results, const char* path) {
    constexpr int kMargin = 24, kGap = 16;
    const int resultsLeft = kMargin + kMainWidth + kGap;
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, resultsLeft + kResultsWidth + kMargin,
                                                      kMainHeight + 2 * kMargin);
    cairo_t* cr = cairo_create(out);
    cairo_pattern_t* desk = cairo_pattern_create_linear(0, 0, 0, kMainHeight + 2 * kMargin);
    cairo_pattern_add_color_stop_rgb(desk, 0, 0.80, 0.84, 0.88);
    cairo_pattern_add_color_stop_rgb(desk, 1, 0.68, 0.73, 0.79);
    cairo_set_source(cr, desk);
    cairo_paint(cr);
    cairo_pattern_destroy(desk);
    for (auto [image, left] : {std::pair{&main, kMargin}, std::pair{&results, resultsLeft}}) {
        for (int spread = 6; spread >= 1; --spread) {
            cairo_rectangle(cr, left - spread + 3, kMargin - spread + 4, image->Width() + 2 * spread,
                            image->Height() + 2 * spread);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.035);
            cairo_fill(cr);
        }
        cairo_surface_t* window = SurfaceOf(*image);
        cairo_set_source_surface(cr, window, left, kMargin);
        cairo_paint(cr);
        cairo_surface_destroy(window);
    }
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(out, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(out);
    return ok;
}

int Run(const char* path) {
    headless::HeadlessHost host;
    cairo::CairoDriver graphics;
    ToolkitStartup(host, graphics);
    const Bytes skin = CalcImageBytes(CalcImage::Skin);

    const HostHandle mainHwnd = CreateHostWindow("青禾计算器", 40, true, 40, true, kMainWidth, kMainHeight);
    UiWindow main;
    main.OnPaint([](HostHandle, Graphics& g, int, int width, int height) {
        PaintPanels(g, width, height);
        return 0;
    });
    if (!main.Create(mainHwnd, skin, 0, false, 22, true)) return 3;

    std::vector<std::unique_ptr<UiTabButton>> tabs;
    for (int i = 0; i < 5; ++i) {
        tabs.push_back(std::make_unique<UiTabButton>());
        tabs.back()->Create(mainHwnd, i * 73.0f + 15, 34, 70, 60, CalcImageBytes(kTabs[i].icon), kTabs[i].caption,
                            MakeArgb(0x000000, 190));
    }
    tabs[0]->Selected(1, true);
    std::vector<std::unique_ptr<UiSideButton>> menu;
    for (int i = 0; i < 5; ++i) {
        menu.push_back(std::make_unique<UiSideButton>());
        menu.back()->Create(mainHwnd, 6, i * 29.0f + 100, 120, 28, Bytes(), Text(" ") + kMenu[i],
                            kSideMenuColors[i]);
    }
    menu[0]->Selected(1, true);

    // A few rows of the housing form, so the panel is seen with its content.
    struct Row {
        const char* caption;
        float top;
    };
    constexpr Row kRows[] = {{"贷款类别:", 113}, {"计算方式:", 139}, {"贷款金额:", 164}, {"按揭年数:", 190}, {"贷款利率:", 216}};
    UiLabel captions[5];
    for (int i = 0; i < 5; ++i) {
        captions[i].Create(mainHwnd, kRows[i].caption, 140, kRows[i].top, 80, 20, MakeArgb(0x000000, 110), {}, 0, 3);
    }
    UiRadioButton commercial, fund, byAmount, byArea;
    commercial.Create(mainHwnd, "商业贷款", 230, 114, 80, 18, true, 1);
    fund.Create(mainHwnd, "公积金贷款", 320, 114, 90, 18, false, 1);
    byAmount.Create(mainHwnd, "根据贷款总额", 230, 140, 100, 18, true, 2);
    byArea.Create(mainHwnd, "根据面积、单价", 340, 140, 120, 18, false, 2);
    UiEdit amount, term, rate;
    amount.Create(mainHwnd, "100", 230, 164, 120, 20);
    term.Create(mainHwnd, "20", 230, 190, 120, 20);
    rate.Create(mainHwnd, "6.55", 230, 216, 60, 20);
    UiComboBox rateKind;
    rateKind.Create(mainHwnd, 300, 216, 70, 20, 1, {"年利率", "月利率"});

    UiPicture helpIcon, separator, banner;
    helpIcon.Create(mainHwnd, 355, 287, 22, 18, CalcImageBytes(CalcImage::HelpIcon), kCursorHand);
    // A picture control shows a smaller image at its own size, so the line
    // is stretched to the control's width first, as the program does.
    separator.Create(mainHwnd, 160, 250, 420, 1, Bytes());
    {
        UiImage line, stretched;
        line.LoadFromMemory(CalcImageBytes(CalcImage::Separator));
        stretched.CreateBitmap(420, 1);
        TheGraphics().Open(stretched.Pixels())->DrawImage(line.Pixels(), MakeRect(0, 0, 420, 1),
                                                          MakeRect(0, 0, float(line.Width()), 1));
        separator.Image(std::move(stretched));
    }
    banner.Create(mainHwnd, 485, 33, 100, 60, CalcImageBytes(CalcImage::Banner), kCursorHand);
    UiLabel description;
    description.Create(mainHwnd, "输入贷款金额、期限和利率，按“计算”查看两种还款方式的月供和利息。", 160, 260, 300,
                       50, MakeArgb(0x000000, 110), {}, 8192, 0);
    UiDrawerBar strip;
    strip.Create(mainHwnd, 585, 100, 8, 293, CalcImageBytes(CalcImage::ResultsStrip));
    strip.State(1, true);
    UiButton sysCalc, clear, calc;
    sysCalc.Create(mainHwnd, "系统计算器", 160, 390, 90, 24);
    clear.Create(mainHwnd, "清空", 420, 390, 70, 24);
    calc.Create(mainHwnd, "计算", 500, 390, 70, 24);
    main.Show(0);

    const HostHandle resultsHwnd =
        CreateHostWindow("计算结果", 40 + kMainWidth + 16, true, 40, true, kResultsWidth, kMainHeight);
    UiWindow results;
    UiImage separatorImage;
    separatorImage.LoadFromMemory(CalcImageBytes(CalcImage::Separator));
    results.OnPaint([&](HostHandle, Graphics& g, int, int width, int) {
        PaintResults(g, width, separatorImage);
        return 0;
    });
    if (!results.Create(resultsHwnd, skin, 0, false, 4, true)) return 3;
    UiPicture upperHelp, lowerHelp;
    upperHelp.Create(resultsHwnd, 85, 106, 22, 18, CalcImageBytes(CalcImage::HelpIcon), kCursorHand);
    lowerHelp.Create(resultsHwnd, 85, 238, 22, 18, CalcImageBytes(CalcImage::HelpIcon), kCursorHand);
    results.Show(0);
    host.ProcessPending();

    const bool ok = WritePreview(host.Screen(mainHwnd), host.Screen(resultsHwnd), path);
    host.DestroyWindow(resultsHwnd);
    host.DestroyWindow(mainHwnd);
    ToolkitShutdown();
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace qh

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: calc_artwork_preview OUT.png\n");
        return 2;
    }
    return qh::Run(argv[1]);
}
