#include "support/SmallFilesystem.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace vexamo::test {

SmallFilesystem::SmallFilesystem(std::size_t kilobytes) {
    if (::geteuid() != 0) return;
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    m_mounted = ::mount("tmpfs", m_dir.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallFilesystem::~SmallFilesystem() {
    if (m_mounted) (void)::umount2(m_dir.path().c_str(), MNT_DETACH);
}

void SmallFilesystem::fill() {
    const int fd = ::open((m_dir / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return;
    const std::vector<char> block(1024, 'f');
    // The file system is small, so this ends after a few dozen blocks.
    for (int i = 0; i < 1 << 20; ++i)
        if (::write(fd, block.data(), block.size()) <= 0) break;
    for (int i = 0; i < 1 << 12; ++i)
        if (::write(fd, block.data(), 1) <= 0) break;
    (void)::close(fd);
}

void SmallFilesystem::removeFiller() { (void)::unlink((m_dir / "filler").c_str()); }

}  // namespace vexamo::test
