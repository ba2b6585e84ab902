#pragma once

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

// A folder on a tmpfs of a few kilobytes, for what a full disk does to the
// programs. Only a privileged process may mount one: elsewhere mounted() is
// false and skipReason() says why.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& name, std::size_t bytes = 256 * 1024)
    {
        dir_ = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        if (::mount("tmpfs", dir_.c_str(), "tmpfs", 0, options.c_str()) == 0)
            mounted_ = true;
        else
            reason_ = std::string("a tmpfs cannot be mounted here (") + std::strerror(errno)
                + "): the disk-full case needs root";
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(dir_.c_str(), MNT_DETACH);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& skipReason() const { return reason_; }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string folder() const { return dir_.string(); }

    // Fills the disk up to its last `leave` bytes.
    void fill(std::size_t leave = 0)
    {
        const std::size_t free = std::filesystem::space(dir_).available;
        std::ofstream(path("filler"), std::ios::binary) << std::string(free > leave ? free - leave : 0, 'f');
    }

    // Names in the folder other than `keep`: what a failed write left behind.
    std::size_t strayFiles(const std::string& keep) const
    {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            count += entry.path().filename() != keep && entry.path().filename() != "filler";
        return count;
    }

private:
    std::filesystem::path dir_;
    bool mounted_ = false;
    std::string reason_;
};
