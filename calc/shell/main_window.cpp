#include "calc/shell/main_window.h"

#include <string>

#include "calc/shell/calc_images.h"
#include "calc/shell/page_actions.h"
#include "calc/shell/page_forms.h"
#include "renew/site_settings.h"
#include "runtime/startup_trace.h"
#include "runtime/product_version.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr const char* kTitle = "青禾计算器";
constexpr int kWidth = 600;
constexpr int kHeight = 440;
constexpr int kWindowFlags = 2 | kFlagCloseButton | kFlagMinimize;
constexpr int kWindowAlpha = 190;

struct TabSpec {
    const char* caption;
    CalcImage icon;
};
constexpr TabSpec kTabs[kTabCount] = {
    {"房贷计算", CalcImage::TabHousing}, {"车贷计算", CalcImage::TabCar},     {"组合贷款", CalcImage::TabCombined},
    {"我要贷款", CalcImage::TabSearch},  {"关于青禾", CalcImage::TabAbout},
};
constexpr const char* kMenuCaptions[kMenuSlotCount] = {"房贷计算", "二手房交易税", "车贷计算", "组合贷款",
                                                       "我要贷款", "还款计划",     "税费(现行)"};
// The tab that lights up for each page.
constexpr int kTabOfPage[kMenuSlotCount] = {1, 1, 2, 3, 4, 0, 1};
constexpr float kMenuTop = 100, kMenuPitch = 29;

// The texts behind HelpIcon: what counts as a second home (housing page,
// by area), and what is not ordinary housing (tax page).
constexpr const char* kSecondHomeRules =
    " 二套房界定标准：\r\n"
    "  1、借款人首次申请利用贷款购买住房,在拟购房所在地房屋\r\n"
    "     登记信息系统(含预售合同登记备案系统)中,其家庭已登\r\n"
    "     记有一套(及以上)成套住房的\r\n"
    "  2、借款人已利用贷款购买过一套(及以上)住房,又申请贷款\r\n"
    "     购买住房的\r\n"
    "  3、贷款人通过查询征信记录、面测、面谈等形式的尽责调\r\n"
    "     查,确信借款人家庭已有一套(及以上)住房的";
constexpr const char* kOrdinaryHousingRules =
    " 1、住宅小区建筑容积率在1.0以下(不含1.0)(一般为别墅)\r\n"
    " 2、单套建筑面积在140平方米以上(含140平方米)\r\n"
    " 3、实际成交价格高于该区市场指导价1.2倍以上(不含1.2倍)";
constexpr int kHelpTopByArea = 304;
// The form's rows stand about 27.4 px apart, from y 111 to 303, and each
// caption is a line and a blank line: the caption column's lines follow that
// grid rather than the font's own line height.
constexpr float kCaptionPitch = 13.7f;

// The system calculator: Windows' own, then the Linux desktops' in the
// order users most often have them. A name that is not installed does not
// start, so the first that exists wins on either system.
constexpr const char* kSystemCalculators[] = {"calc.exe", "gnome-calculator", "kcalc", "galculator", "xcalc"};

// The timer that reads the statistics page's state until it is complete.
constexpr std::uint32_t kStatsTimer = 0x51480001;
constexpr int kStatsTimerMs = 10;

constexpr Argb White(int alpha) { return (static_cast<Argb>(alpha) << 24) | 0xFFFFFFu; }
constexpr Argb Black(int alpha) { return static_cast<Argb>(alpha) << 24; }

// The line picture stretched to the separator's width: a picture control
// shows a smaller image at its own size.
UiImage StretchedSeparator(int width) {
    UiImage line, stretched;
    line.LoadFromMemory(CalcImageBytes(CalcImage::Separator));
    stretched.CreateBitmap(width, 1);
    if (!line.Empty()) {
        auto g = TheGraphics().Open(stretched.Pixels());
        g->DrawImage(line.Pixels(), MakeRect(0, 0, float(width), 1),
                     MakeRect(0, 0, float(line.Width()), float(line.Height())));
    }
    return stretched;
}

}  // namespace

MainWindow::MainWindow(Platform& platform, MainWindowServices services)
    : platform_(platform), services_(std::move(services)) {}

bool MainWindow::Build() {
    c_.hwnd = CreateHostWindow(kTitle, 0, false, 0, false, kWidth, kHeight);
    if (c_.hwnd == 0) return false;
    c_.window.OnPaint([this](HostHandle, Graphics& g, int, int width, int height) { return Paint(g, width, height); });
    // The caption says what kind of build this is; the title stays the name
    // the updater and the setup program find the window by.
    c_.window.SetCaptionText(Text(kTitle) + kBuildMark);
    if (!c_.window.Create(c_.hwnd, CalcImageBytes(CalcImage::Skin), 0, false, kWindowFlags)) return false;
    StartupMark("window, skin, background");
    c_.window.SetAlpha(kWindowAlpha);
    CreateTabsAndMenu();
    CreatePageForms(c_);
    if (services_.currentTaxRules != nullptr) currentTax_.Bind(c_, *services_.currentTaxRules);
    CreateSharedControls();
    StartupMark("controls: images, fonts");
    BindRateFields(c_);
    ClearAction(c_);
    BindHandlers();
    results_.OnPlanLink([this](const PlanForm& plan) {
        if (services_.openPlan) services_.openPlan(plan);
    });
    c_.window.Show(0);
    StartupMark("window shown");
    // The statistics page's request loads the network libraries on its
    // thread: only once the window is up.
    LoadStatsPage();
    return true;
}

void MainWindow::LoadStatsPage() {
    if (services_.statsUrl.empty()) return;
    if (statsBrowser_.Create(c_.hwnd, 0, 0, 0, 0) == 0) return;
    statsBrowser_.Silent(true);
    statsBrowser_.Navigate(services_.statsUrl);
    platform_.WindowHost().StartTimer(c_.hwnd, kStatsTimer, kStatsTimerMs);
}

void MainWindow::ReadStatsState() {
    const int state = statsBrowser_.ReadyState();
    statsState_ = state;
    if (state == 4) platform_.WindowHost().StopTimer(c_.hwnd, kStatsTimer);
}

void MainWindow::CreateTabsAndMenu() {
    for (int i = 1; i <= kTabCount; ++i) {
        UiTabButton& tab = c_.topTabs[i - 1];
        tab.Create(c_.hwnd, float((i - 1) * 73 + 15), 34, 70, 60, CalcImageBytes(kTabs[i - 1].icon),
                   kTabs[i - 1].caption, Black(190));
        tab.Name("TopTabs[" + std::to_string(i) + "]", true);
    }
    c_.topTabs[0].Selected(1, true);
    for (int i = 1; i <= kMenuSlotCount; ++i) {
        if (!Offers(i)) continue;
        UiSideButton& entry = c_.sideMenu[i - 1];
        entry.Create(c_.hwnd, 6, float(i - 1) * kMenuPitch + kMenuTop, 120, 28, Bytes(),
                     Text(" ") + kMenuCaptions[i - 1], kSideMenuColors[i - 1]);
        entry.UserText(std::to_string(i), true);
        entry.Name("SideMenu[" + std::to_string(i) + "]", true);
    }
    // The classic entries go through the window's handler; the new one has
    // its own callback.
    c_.sideMenu[kPageCurrentTax - 1].OnClick([this] { SelectSideEntry(kPageCurrentTax); });
    c_.sideMenu[kMenuPlan - 1].OnClick([this] {
        if (services_.openPlan) services_.openPlan(std::nullopt);
    });
    c_.sideMenu[0].Selected(1, true);
    currentPage_ = 1;
    currentTab_ = 1;
}

bool MainWindow::Offers(int page) const {
    if (page == kPageCurrentTax) return services_.currentTaxRules != nullptr;
    if (page == kMenuPlan) return true;
    return page >= 1 && page <= kPageCount;
}

void MainWindow::CreateSharedControls() {
    const HostHandle h = c_.hwnd;
    c_.clearButton.Create(h, "清空", 420, 390, 70, 24);
    c_.clearButton.Name("ClearButton", true);
    c_.calcButton.Create(h, "计算", 500, 390, 70, 24);
    c_.calcButton.Name("CalcButton", true);
    c_.sysCalcButton.Create(h, "系统计算器", 160, 390, 90, 24);
    c_.sysCalcButton.Name("SysCalcButton", true);
    c_.captionLabel.Create(h, LayoutOf(kPageHousing, false).captions, 140, 115, 80, 130, Black(110), {}, 0, 0);
    c_.captionLabel.LinePitch(kCaptionPitch, true);
    c_.captionLabel.Name("CaptionLabel", true);
    c_.helpIcon.Create(h, 355, 287, 22, 18, CalcImageBytes(CalcImage::HelpIcon), kCursorHand, false);
    c_.helpIcon.Name("HelpIcon", true);
    c_.helpIcon.SetAccessibleName("帮助");
    c_.separator.Create(h, 160, 250, 420, 1, Bytes());
    c_.separator.Image(StretchedSeparator(420));
    c_.separator.Name("Separator", true);
    // The description wraps within its width.
    c_.descriptionLabel.Create(h, DescriptionOf(kPageHousing), 160, 260, 420, 50, Black(110), {}, 0, 0);
    c_.descriptionLabel.Name("DescriptionLabel", true);
    c_.resultsStrip.Create(h, 585, 100, 8, 293, CalcImageBytes(CalcImage::ResultsStrip));
    c_.resultsStrip.ToolTip("显示计算结果窗口", true);
    c_.resultsStrip.Cursor(kCursorHand, true);
    c_.resultsStrip.Name("ResultsStrip", true);
    c_.helpPopup.Create(h, 45, 100, 340, 70, kTipPointUp);
    c_.helpPopup.Name("HelpPopup", true);
    c_.banner.Create(h, 485, 33, 100, 60, CalcImageBytes(CalcImage::Banner), kCursorHand);
    c_.banner.Name("Banner", true);
    c_.banner.SetAccessibleName("青禾网站");  // the picture opens the site
}

void MainWindow::BindHandlers() {
    UiWindow& w = c_.window;
    w.OnMessage([this](HostHandle, int message, std::intptr_t wParam, std::intptr_t) {
        return OnMessage(message, wParam);
    });
    w.OnControlEvent([this](HostHandle, int id, int, int kind) { return OnControlEvent(id, kind); });
    w.OnShortcut([this](const ShortcutKey& key) { return OnShortcut(key); });
    w.OnMouseEnterControl([this](HostHandle, int id, int, int) {
        HelpEnter(id);
        return -1;
    });
    w.OnMouseLeaveControl([this](HostHandle, int id, int, int) {
        if (id == c_.helpIcon.Id()) c_.helpPopup.Visible(0, true);
        return -1;
    });
    w.OnControlBlur([this](HostHandle, int, int, int) {
        if (c_.helpPopup.Visible()) c_.helpPopup.Visible(0, true);
        return -1;
    });
}

std::intptr_t MainWindow::OnMessage(int message, std::intptr_t wParam) {
    switch (message) {
        case msg::kDestroy:
        case msg::kUser:
            platform_.QuitMessageLoop(0);
            break;
        case msg::kMove:
            results_.Dock();
            break;
        case msg::kSysCommand:
            if ((wParam & 0xFFF0) == msg::kScRestore) results_.BringToFront();
            break;
        case msg::kTimer:
            if (static_cast<std::uint32_t>(wParam) == kStatsTimer) {
                ReadStatsState();
                return 0;
            }
            break;
        default:
            break;
    }
    return -1;
}

int MainWindow::OnControlEvent(int id, int kind) {
    switch (kind) {
        case kKindButton:
            if (id == c_.calcButton.Id()) {
                Calculate();
            } else if (id == c_.clearButton.Id()) {
                ClearAction(c_);
            } else if (id == c_.sysCalcButton.Id()) {
                for (const char* program : kSystemCalculators) {
                    if (services_.runProgram && services_.runProgram(program)) break;
                }
            }
            break;
        case kKindLabel:
            if (id == c_.searchLink.Id()) SearchLoans(c_, services_.siteUrl, services_.openInBrowser);
            break;
        case kKindPicture:
            // The help icon shows its text when hovered; pressed (with the
            // keyboard too) it shows it as well.
            if (id == c_.helpIcon.Id()) HelpEnter(id);
            if (id == c_.banner.Id() && services_.openInBrowser) services_.openInBrowser(SiteHomeAddress(services_.siteUrl));
            break;
        case kKindDrawerBar:
            if (id == c_.resultsStrip.Id()) results_.Toggle(currentPage_);
            break;
        case kKindTabButton:
            for (int i = 1; i <= kTabCount; ++i) {
                if (id == c_.topTabs[i - 1].Id() && i != currentTab_) SelectTab(i);
            }
            break;
        case kKindRadioOrCheck:
            if (id == c_.modeByAmount.Id() || id == c_.modeByArea.Id()) {
                ShowPage(currentPage_, true);
            } else if (id == c_.firstHome.Id() || id == c_.secondHome.Id()) {
                OnHomeTypeChanged(c_);
            } else if (id == c_.loanCommercial.Id() || id == c_.loanFund.Id()) {
                OnHousingLoanTypeChanged(c_);
            }
            break;
        case kKindSideButton:
            for (int i = 1; i <= kPageCount; ++i) {
                if (id == c_.sideMenu[i - 1].Id()) SelectSideEntry(i);
            }
            break;
        default:
            break;
    }
    return 0;
}

void MainWindow::SelectSideEntry(int page) {
    if (!Offers(page) || page == kMenuPlan || page == currentPage_) return;
    ShowPage(currentPage_, false);
    currentPage_ = page;
    const int tab = kTabOfPage[page - 1];
    if (tab != currentTab_) {
        c_.topTabs[currentTab_ - 1].Selected(0, true);
        currentTab_ = tab;
        c_.topTabs[currentTab_ - 1].Selected(1, true);
    }
    ShowPage(currentPage_, true);
    c_.sideMenu[page - 1].Selected(1, true);
}

void MainWindow::SelectTab(int tab) {
    if (tab < 1 || tab > kTabCount) return;
    if (tab == kAboutTab) {
        if (services_.openAbout) services_.openAbout();
        return;
    }
    ShowPage(currentPage_, false);
    currentPage_ = tab == 1 ? kPageHousing : tab + 1;
    ShowPage(currentPage_, true);
    c_.sideMenu[currentPage_ - 1].Selected(1, true);
    c_.topTabs[currentTab_ - 1].Selected(0, true);
    currentTab_ = tab;
    c_.topTabs[currentTab_ - 1].Selected(1, true);
}

void MainWindow::ShowPage(int page, bool show) {
    c_.helpIcon.Visible(0, true);
    if (!show) {
        HidePageForm(c_, page);
        if (page == kPageSearch) {
            c_.resultsStrip.Visible(1, true);
            c_.calcButton.Disabled(0, true);
        }
        return;
    }
    c_.descriptionLabel.Text(DescriptionOf(page), true);
    if (page == kPageHousing) {
        ShowHousingPage(c_);
        return;
    }
    LayoutPage(c_, page);
    if (page == kPageSearch) {
        results_.Close();
        c_.resultsStrip.Visible(0, true);
        c_.calcButton.Disabled(1, true);
    }
    ShowPageForm(c_, page);
}

void MainWindow::Calculate() {
    if (currentPage_ == kPageSearch) return;  // the button is disabled there
    results_.Open(currentPage_);
    results_.BringToFront();
    TheHost().BringToFront(c_.hwnd);
    results_.ShowResults(currentPage_ == kPageCurrentTax ? currentTax_.Results() : ComputePage(c_, currentPage_));
}

int MainWindow::Paint(Graphics& g, int width, int height) {
    const float w = float(width), h = float(height);
    // The form panel, a little brighter at its top and left edges.
    const RectF form = MakeRect(125, 100, w - 85, h - 100);
    FillRect(g, MakeRect(form.left, form.top, form.width - 1, form.height - 1), White(210));
    DrawRectStyled(g, form, 0, White(60));
    DrawLine(g, White(60), form.left, form.top, form.left + form.width, form.top);
    DrawLine(g, White(60), form.left, form.top, form.left, form.top + form.height);
    // The menu panel.
    FillRect(g, MakeRect(5, 100, 120, h - 101), White(110));
    DrawLine(g, White(60), 7, 100, w - 7, 100);
    return 0;
}

void MainWindow::HelpEnter(int id) {
    if (id != c_.helpIcon.Id()) return;
    c_.helpPopup.SetZOrder(1, true);
    if (c_.helpIcon.Top() == kHelpTopByArea) {
        c_.helpPopup.Style(kTipPointDown, true);
        c_.helpPopup.Text(kSecondHomeRules, true);
        c_.helpPopup.Move(35, 155, 350, 150);
    } else {
        c_.helpPopup.Style(kTipPointUp, true);
        c_.helpPopup.Text(kOrdinaryHousingRules, true);
        c_.helpPopup.Move(75, 140, 340, 75);
    }
    c_.helpPopup.Visible(1, true);
}

}  // namespace qh
