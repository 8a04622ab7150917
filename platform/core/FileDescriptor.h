// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

#include <utility>

/// An open file descriptor, closed when the object goes; -1 holds none.
class FileDescriptor final
{
public:
    explicit FileDescriptor(int fd = -1)
        : _fd(fd)
    {}
    ~FileDescriptor()
    {
        if (_fd >= 0)
            ::close(_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return _fd; }
    /// Hands the descriptor over to the caller, who closes it.
    int release() { return std::exchange(_fd, -1); }

private:
    int _fd;
};
