#include "tools/torrent_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tools/path_text.h"

namespace seedlens::tool {

namespace fs = std::filesystem;

namespace {

bool HasTorrentExtension(const fs::path& Path) {
    std::string extension = PathText(Path.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension == ".torrent";
}

struct FolderWalk {
    std::vector<std::string> Found;
    std::vector<std::string> Problems;
    bool HasSubfolders = false;
};

// Every torrent in Top, and below it with Recursive. Folders are visited
// from a list rather than by recursion, so depth costs no stack; links to
// folders are not followed, so a loop of links cannot trap the walk.
FolderWalk WalkFolder(const fs::path& Top, bool Recursive) {
    FolderWalk walk;
    std::vector<fs::path> pending{Top};
    while (!pending.empty()) {
        const fs::path folder = std::move(pending.back());
        pending.pop_back();
        std::error_code error;
        fs::directory_iterator it(folder, error);
        for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
            std::error_code kindError;
            const bool isFolder = it->is_directory(kindError);
            if (isFolder && !it->is_symlink(kindError)) {
                walk.HasSubfolders = true;
                if (Recursive) pending.push_back(it->path());
            }
            if (!isFolder && HasTorrentExtension(it->path())) walk.Found.push_back(PathText(it->path()));
        }
        if (error) walk.Problems.push_back(PathText(folder) + ": cannot read the folder: " + error.message());
    }
    return walk;
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
        FolderWalk walk = WalkFolder(path, Recursive);
        list.Problems.insert(list.Problems.end(), walk.Problems.begin(), walk.Problems.end());
        // Told, since an empty answer could pass for a run that went wrong.
        if (walk.Found.empty() && walk.Problems.empty()) {
            const char* why = Recursive             ? ": holds no *.torrent, nor do its subfolders"
                              : walk.HasSubfolders ? ": holds no *.torrent, but subfolders: add --recursive to look in them"
                                                   : ": holds no *.torrent";
            list.Hints.push_back(argument + why);
        }
        std::sort(walk.Found.begin(), walk.Found.end());
        list.Files.insert(list.Files.end(), walk.Found.begin(), walk.Found.end());
    }
    return list;
}

}  // namespace seedlens::tool
