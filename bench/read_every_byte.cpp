// Reads every byte of the files under a folder whose names end with ".kar", in one process:
// open, read into one 64 KiB buffer, close. The baseline the scan is measured against.
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

long long readTree(const std::string& folder, std::vector<char>& buffer) {
    long long total = 0;
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return 0;
    std::vector<std::string> subfolders;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        if (entry->d_type == DT_DIR) {
            subfolders.push_back(path);
            continue;
        }
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".kar") != 0)
            continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            total += got;
        ::close(fd);
    }
    ::closedir(directory);
    for (const std::string& subfolder : subfolders)
        total += readTree(subfolder, buffer);
    return total;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_every_byte FOLDER\n");
        return 2;
    }
    std::vector<char> buffer(64 * 1024);
    std::printf("%lld bytes\n", readTree(argv[1], buffer));
    return 0;
}
