#include "art.h"

#include "app/surface.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string installedArtDir()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    // <prefix>/bin/plant: the prefix ends at the second slash from the end.
    const std::string executable(buffer, static_cast<std::size_t>(n));
    const std::size_t bin = executable.rfind('/');
    if (bin == std::string::npos || bin == 0) return "";
    const std::size_t prefix = executable.rfind('/', bin - 1);
    if (prefix == std::string::npos) return "";
    const std::string dir = executable.substr(0, prefix) + "/share/plant/art";
    return isDirectory(dir) ? dir : "";
}

SDL_Surface* loadArt(const std::string& name, const std::string& installedDir)
{
    const std::string local = "./art/" + name;
    SDL_Surface* image = loadImageQuietly(local.c_str());
    const bool broken = !image && exists(local);
    if (!image && !installedDir.empty()) image = loadImageQuietly((installedDir + "/" + name).c_str());
    if (!image || broken) reportUnloaded(local.c_str());
    return image;
}
