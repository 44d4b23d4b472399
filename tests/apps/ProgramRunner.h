#pragma once

// Runs the geomfeature program as a person (or a script) does, and gives back its exit code, stdout and
// stderr; and a scratch folder per test.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace Norvane::programtest {

namespace fs = std::filesystem;

struct ProgramRun {
    int code = -1;
    std::string out;  // stdout
    std::string err;  // stderr
};

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs "geomfeature ARGUMENTS" through the shell; prefix goes before the program (e.g. "ulimit -f 8;").
inline ProgramRun Program(const std::string& arguments, const std::string& prefix = "") {
    ProgramRun run;
    const fs::path err = fs::temp_directory_path() / ("gf_program_err_" + std::to_string(::getpid()));
    const std::string command = prefix + " " + GF_PROGRAM + " " + arguments + " 2>" + err.string();
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(err);
    fs::remove(err);
    return run;
}

// How many times part occurs in text.
inline std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

inline std::string Sample(const char* name) {
    return std::string(GF_SOURCE_DIR) + "/samples/" + name;
}

// A fresh folder for each test, removed afterwards.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        // The process id keeps two runs of the suite (a plain and a sanitizer build) out of each other's way.
        dir = fs::temp_directory_path() / ("gf_program_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    std::string In(const std::string& name) const { return (dir / name).string(); }
    // Runs the program; answers its exit code and keeps its stdout and stderr in out and err.
    int Run(const std::string& arguments) {
        const ProgramRun run = Program(arguments);
        out = run.out;
        err = run.err;
        return run.code;
    }
    fs::path dir;
    std::string out;
    std::string err;
};

}  // namespace Norvane::programtest
