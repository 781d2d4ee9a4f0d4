#pragma once

// A private data folder per test, and the little-endian item writers the
// tests use to build the files they expect, independently of the game's
// own buffer.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace ProfileTest {

inline std::string TempFolder(const char* tag)
{
    auto dir = std::filesystem::temp_directory_path()
        / (std::string(tag) + "_" + std::to_string(::getpid()) + "_"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

inline std::string I32(int32_t v)
{
    auto u = static_cast<uint32_t>(v);
    return {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char((u >> 24) & 0xFF)};
}

inline std::string Str(const std::string& s)
{
    return std::string{char(s.size() & 0xFF), char((s.size() >> 8) & 0xFF)} + s;
}

inline std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Spit(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `body` in a child process as a user who may not read or write other
// users' files: root (as in CI) drops to "nobody" first, so permission
// tests hold whoever runs them. Returns the child's exit code (body's
// result; 90 when the privileges could not be dropped).
inline int RunUnprivileged(const std::function<int()>& body)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

// A process number that no process has: a child that has already ended.
inline pid_t DeadProcess()
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

} // namespace ProfileTest
