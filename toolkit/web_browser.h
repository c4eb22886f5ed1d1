// UiWebBrowser: the system's web browser control placed in a toolkit window.
// It is not a UiControl: the toolkit neither lists nor paints it. The
// calculator keeps one invisible browser that loads its statistics page.
//
// On Windows it is the "Shell.Explorer.2" control hosted by ATL's "AtlAxWin"
// window and driven through automation by member name. On Linux the stand-in
// fetches the page with an HTTP request; its ready state is 4 once the
// request has finished.
#pragma once

#include <memory>

#include "runtime/text.h"
#include "toolkit/host.h"

namespace qh {

// What a platform's browser does; each platform has one implementation.
class WebBrowserBackend {
public:
    virtual ~WebBrowserBackend() = default;
    // Creates the browser in parent; returns its window handle, 0 on failure.
    virtual HostHandle Create(HostHandle parent, int left, int top, int width, int height,
                              std::uint32_t exStyle, bool byProgId, bool visible) = 0;
    virtual void Close() = 0;
    virtual bool Navigate(const Text& method, const Text& url, int flags, const Text& targetFrame,
                          const Bytes& postData, bool hasPostData, const Text& headers) = 0;
    virtual void Move(int left, int top, int width, int height) = 0;
    virtual void SetSilent(bool silent) = 0;
    virtual int ReadyState() = 0;
    virtual void Stop() = 0;
    virtual Text DocumentUrl() = 0;
};

std::unique_ptr<WebBrowserBackend> CreateWebBrowserBackend();

class UiWebBrowser {
public:
    UiWebBrowser();
    ~UiWebBrowser();
    UiWebBrowser(const UiWebBrowser&) = delete;
    UiWebBrowser& operator=(const UiWebBrowser&) = delete;

    // Creates the browser as a child of parent; 0 when it already exists or
    // cannot be created. "Shell.Explorer.2" when byProgId, else "About:Blank".
    HostHandle Create(HostHandle parent, int left, int top, int width, int height, std::uint32_t exStyle = 0,
                      bool byProgId = true, bool visible = true);
    void Close();
    HostHandle Hwnd() const { return hwnd_; }
    // Post data is sent only when given; without it the request is a GET.
    bool Navigate(const Text& url, int flags = 0, const Text& targetFrame = Text(), const Bytes* postData = nullptr,
                  const Text& headers = Text());
    bool Navigate2(const Text& url, int flags = 0, const Text& targetFrame = Text(), const Bytes* postData = nullptr,
                   const Text& headers = Text());
    void Move(int left, int top, int width, int height);
    void Silent(bool silent);
    // 0 uninitialised … 4 complete. May be called from any thread: the call
    // is carried out on the window's thread.
    int ReadyState();
    void Stop();
    Text DocumentUrl();

private:
    // Runs fn on the thread of the browser's parent window.
    template <typename Fn>
    auto OnBrowserThread(Fn fn) -> decltype(fn());

    std::unique_ptr<WebBrowserBackend> backend_;
    HostHandle parent_ = 0;
    HostHandle hwnd_ = 0;
};

}  // namespace qh
