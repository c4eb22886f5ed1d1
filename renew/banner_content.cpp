#include "renew/banner_content.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "renew/file_list.h"
#include "renew/update_stages.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/http.h"
#include "runtime/text.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

constexpr char kBannerImage[] = "renew_ad.png";
constexpr char kBannerTarget[] = "renew_ad.txt";
constexpr char kBannerTips[] = "renew_ad.tips";
constexpr std::array<std::string_view, 2> kWebSchemes = {"http://", "https://"};

// Whether bytes have every digest the entry gives (at least one) and its
// size where it gives one.
template <HashAlgorithm A>
bool Matches(const Bytes& bytes, const Text& expected) {
    if (expected.empty()) return true;
    Hash<A> hash;
    hash.Add(bytes.data(), bytes.size());
    const Text actual = hash.Ready() ? DigestText(hash) : Text();
    return !actual.empty() && !DigestsDiffer(actual, expected);
}

bool MatchesEntry(const Bytes& bytes, const ListedFile& entry) {
    if (!HasDigest(entry)) return false;
    if (entry.size && bytes.size() != *entry.size) return false;
    return Matches<HashAlgorithm::kMd5>(bytes, entry.hash) && Matches<HashAlgorithm::kSha256>(bytes, entry.sha256);
}

Bytes Fetch(const UpdaterState& state, const Text& name, std::size_t maxBytes) {
    HttpOptions options;
    options.cancel = &state.stopping;
    options.maxBytes = maxBytes;
    return HttpRequest(FileAddress(state.updateUrl, name), options);
}

// One resource as the signed list names it: fetched no longer than its
// listed size, kept only when it matches the entry.
Bytes FetchListed(const UpdaterState& state, const std::vector<ListedFile>& entries, const Text& name) {
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const ListedFile& e) { return e.name == name; });
    if (entry == entries.end() || !HasDigest(*entry)) return {};
    // A listed size of 0 or past the general bound leaves the general bound.
    const std::size_t bound = entry->size && *entry->size > 0 && *entry->size < kMaxHttpAnswer
                                  ? static_cast<std::size_t>(*entry->size)
                                  : kMaxHttpAnswer;
    Bytes bytes = Fetch(state, name, bound);
    return MatchesEntry(bytes, *entry) ? bytes : Bytes{};
}

}  // namespace

bool IsBannerTarget(const Text& target) {
    if (target.size() > kMaxBannerTarget) return false;
    const bool web = std::any_of(kWebSchemes.begin(), kWebSchemes.end(), [&](std::string_view scheme) {
        return target.size() > scheme.size() && StartsWithIgnoringCase(target, scheme);
    });
    if (!web) return false;
    return std::none_of(target.begin(), target.end(), [](char byte) {
        const auto c = static_cast<unsigned char>(byte);
        return c <= ' ' || c >= 0x7F || c == '"' || c == '\'';
    });
}

BannerContent FetchBannerContent(const UpdaterState& state) {
    BannerContent content;
    Bytes target;
    if (state.publicKey.empty()) {
        content.image = Fetch(state, kBannerImage, kMaxHttpAnswer);
        target = Fetch(state, kBannerTarget, kMaxHttpAnswer);
        content.tips = ToText(Fetch(state, kBannerTips, kMaxHttpAnswer));
    } else {
        XmlTree tree;
        if (!RequestServerDocument(state, kFileListDocument, tree)) return content;
        const std::vector<ListedFile> entries = ReadBannerList(tree);
        tree.Close();
        content.image = FetchListed(state, entries, kBannerImage);
        target = FetchListed(state, entries, kBannerTarget);
        content.tips = ToText(FetchListed(state, entries, kBannerTips));
    }
    content.target = ToText(target);
    if (!IsBannerTarget(content.target)) content.target.clear();
    return content;
}

}  // namespace qh
