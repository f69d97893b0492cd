#pragma once
// Owner of one POSIX file descriptor: closes it when destroyed or replaced.
#include <unistd.h>

#include <utility>

class TUniqueFd {
  public:
    TUniqueFd() = default;
    explicit TUniqueFd(int fd) : m_fd(fd) {}
    ~TUniqueFd() { reset(); }
    TUniqueFd(TUniqueFd&& other) noexcept : m_fd(other.release()) {}
    TUniqueFd& operator=(TUniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

  private:
    int m_fd = -1;
};
