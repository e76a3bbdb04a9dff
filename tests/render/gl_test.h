// Test fixtures for code that needs a real OpenGL context: a small window
// opened through the window layer as the game opens its own (3.2,
// compatibility profile), with GLEW's entry points loaded, and a scratch
// working directory for data files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Makes a directory the working directory until destroyed: the game reads
// its data relative to the working directory.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous;
};

// Creates a fresh directory, makes it the working directory, and on
// destruction goes back and removes it with everything in it.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    // Writes a file below the directory, making its parent directories.
    void write(const std::string& relative_path, const std::string& content) const;

private:
    std::string path_;
    std::unique_ptr<WorkingDirectory> inside;
};

// Opens a window of the given size through the window layer, with the
// context the game asks for, and loads GLEW's entry points.
void open_gl_window(int width, int height);

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Writes a width x height PNG of one colour, given as bytes.
void write_png(const std::string& path, int width, int height, unsigned char red,
               unsigned char green, unsigned char blue, unsigned char alpha = 255);

// Everything the code under test writes to standard output and standard
// error while `action` runs.
struct Output {
    std::string out;
    std::string err;
};
template <typename Action> Output capture_output(Action action)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    action();
    Output output;
    output.out = ::testing::internal::GetCapturedStdout();
    output.err = ::testing::internal::GetCapturedStderr();
    return output;
}
