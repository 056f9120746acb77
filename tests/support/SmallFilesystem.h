#pragma once
// A tiny file system of its own (tmpfs) for tests that need a full disk.
// Mounting needs root; where it cannot be made, mounted() is false and the
// test skips.
#include <cstddef>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace vexamo::test {

class SmallFilesystem {
public:
    explicit SmallFilesystem(std::size_t kilobytes = 64);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::filesystem::path& path() const { return m_dir.path(); }
    std::filesystem::path operator/(const std::string& name) const { return m_dir / name; }

    // Fills the free space with one file ("filler"), leaving at most a few
    // blocks; removeFiller() gives the space back.
    void fill();
    void removeFiller();

private:
    TempDir m_dir;
    bool m_mounted = false;
};

}  // namespace vexamo::test
