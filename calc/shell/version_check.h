// The background version check: once per start, a thread of its own asks the
// update server for the current version ("version.txt" in the update
// folder) and, when it differs from the installed one, starts the updater
// in background mode (" -h "), which makes its own check. The same thread
// then waits for the hidden statistics page to finish loading and trims the
// process's memory. Nothing of it is shown to the user.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

#include "runtime/text.h"

namespace qh {

// The longest version text a server may announce; a longer answer is no
// version at all.
inline constexpr std::size_t kMaxServerVersionBytes = 64;
// The statistics browser's ready state once the page is complete.
inline constexpr int kStatsComplete = 4;

// The version an answer of the server announces: its bytes up to the first
// NUL, taken as they are (a line end stays part of it). Empty, the unknown
// version, for an answer longer than kMaxServerVersionBytes.
Text ServerVersion(const Bytes& answer);

// The installed version from the registry, "1.0.0.503" when none is
// recorded or it is empty.
Text InstalledVersionOrDefault();

// The command that starts the updater when the server's version differs
// from the installed one (an unknown server version differs from every
// installed one); nothing when they are equal.
std::optional<Text> BackgroundCheckCommand(const Text& serverVersion, const Text& installedVersion,
                                           const Text& updaterPath, const Text& calculatorFileName,
                                           std::uint32_t processId);

class VersionCheck {
public:
    // updateUrl is the update folder ending in "/", empty for none;
    // statsReadyState reads the statistics page's ready state from the
    // thread, and is empty when no page is loading.
    VersionCheck(Text updateUrl, std::function<int()> statsReadyState);
    // A check still running is told to stop and waited for: a request in
    // flight is cancelled, so closing the calculator is not held up.
    ~VersionCheck();
    VersionCheck(const VersionCheck&) = delete;
    VersionCheck& operator=(const VersionCheck&) = delete;

    void Start();

private:
    void Run();
    // Sleeps in short steps; false when told to stop meanwhile.
    bool Pause(int milliseconds);

    Text updateUrl_;
    std::function<int()> statsReadyState_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace qh
