#include "tools/torrent_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace seedlens::tool {

namespace fs = std::filesystem;

namespace {

bool HasTorrentExtension(const fs::path& Path) {
    std::string extension = Path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension == ".torrent";
}

std::string Utf8(const fs::path& Path) {
    const auto text = Path.u8string();
    return std::string(text.begin(), text.end());
}

template <typename Iterator>
void AddTorrentsIn(const fs::path& Folder, std::vector<std::string>& Found, std::error_code& Error) {
    for (Iterator it(Folder, fs::directory_options::skip_permission_denied, Error), end; !Error && it != end;
         it.increment(Error)) {
        if (HasTorrentExtension(it->path()) && !it->is_directory(Error)) Found.push_back(Utf8(it->path()));
    }
}

}  // namespace

PathList CollectTorrentPaths(const std::vector<std::string>& Arguments, bool Recursive) {
    PathList list;
    for (const std::string& argument : Arguments) {
        const fs::path path = fs::u8path(argument);
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            // A file, or a name that does not exist: the plug-in answers for it.
            list.Files.push_back(argument);
            continue;
        }
        std::vector<std::string> found;
        if (Recursive)
            AddTorrentsIn<fs::recursive_directory_iterator>(path, found, error);
        else
            AddTorrentsIn<fs::directory_iterator>(path, found, error);
        if (error) list.Problems.push_back(argument + ": " + error.message());
        std::sort(found.begin(), found.end());
        list.Files.insert(list.Files.end(), found.begin(), found.end());
    }
    return list;
}

}  // namespace seedlens::tool
