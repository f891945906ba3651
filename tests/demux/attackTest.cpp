// The demultiplexer attacked as a hostile user would, through its command line: each attack must
// leave every file it does not name as it was, no partial or empty stream, and a status that
// says what happened, in bounded time and memory.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "support/tempFolder.h"
#include "syntheticStream.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t start = 90000;
constexpr long memoryBoundKb = 64 * 1024;

// A second of video in groups of four pictures, with its AC-3 track `audioOffset` ticks from it.
std::string source(std::int64_t audioOffset, bool audioSynchronised = true) {
    SyntheticStream stream;
    for (int group = 0; group < 6; ++group) {
        const std::int64_t groupStart = start + group * 4 * frameTicks;
        stream.video(
            (group == 0 ? sequenceHeader() : std::string()) + groupHeader(true) + picture(2, 1),
            groupStart + 2 * frameTicks);
        stream.video(picture(3, 2) + picture(0, 3) + picture(1, 3));
        std::string frames;
        for (int frame = 0; frame < 5; ++frame) {
            frames += audioSynchronised ? ac3Frame('a') : std::string(128, 'a');
        }
        stream.privateAudio(0x80, frames, groupStart + audioOffset, 1);
    }
    stream.video(groupHeader(true) + picture(0, 1));
    return stream.bytes();
}

// A picture's worth of video, then 100 MB of filler: a run that takes its time. Written in
// blocks, so that the tests' own memory, which a child starts with, stays small.
void writeLargeSource(const std::string& path) {
    SyntheticStream head;
    head.video(sequenceHeader() + groupHeader(true) + picture(0, 1), start);
    SyntheticStream filler;
    filler.video(std::string(2000, '\x55'));
    std::string block;
    for (int packet = 0; packet < 1000; ++packet) {
        block += filler.bytes();
    }
    std::ofstream out(path, std::ios::binary);
    out << head.bytes();
    for (int blocks = 0; blocks < 50; ++blocks) {
        out << block;
    }
}

// A checksum of a file read in blocks.
std::uint64_t checksum(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::uint64_t sum = 1469598103934665603ULL;
    std::vector<char> block(1 << 16);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        for (std::streamsize at = 0; at < in.gcount(); ++at) {
            sum = (sum ^ static_cast<unsigned char>(block[static_cast<std::size_t>(at)])) *
                  1099511628211ULL;
        }
    }
    return sum;
}

struct ToolRun {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    bool timedOut = false;
};

// Runs bbdmux with the arguments; `during` is called once it has started, with its process id.
ToolRun bbdmux(const std::vector<std::string>& arguments,
               const std::function<void(pid_t)>& during = nullptr) {
    std::vector<std::string> all{MAROVINK_BBDMUX_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ToolRun run;
    if (spawned != 0) {
        return run;
    }
    if (during) {
        during(pid);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.timedOut = true;
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

}  // namespace

TEST(DemuxAttackTest, EveryAttackLeavesWhatItDoesNotNameAndNoPartialStream) {
    struct Attack {
        const char* name;
        std::string bytes;  // of the source, s.VOB; empty: the large source
        // Sets the scene in the folder; gives the arguments after the program.
        std::function<std::vector<std::string>(const TempFolder&)> scene;
        int status;
        // The one name the run may add to the folder; empty: none.
        const char* output;
        int signal = 0;  // sent once the output's temporary file is there
    };
    const std::string good = source(0);
    const auto audioTo = [](const std::string& output) {
        return [output](const TempFolder& folder) {
            return std::vector<std::string>{folder.file("s.VOB"), "0xbd", folder.file(output),
                                            "0x80"};
        };
    };
    const auto videoTo = [](const std::string& output) {
        return [output](const TempFolder& folder) {
            return std::vector<std::string>{folder.file("s.VOB"), "0xe0", folder.file(output)};
        };
    };
    // The video written to `name`, which is first made a link (symbolic or hard) to `target`,
    // or a pipe when the target is empty.
    const auto videoToMade = [&](const std::string& name, const std::string& target,
                                 bool hard = false) {
        return [=](const TempFolder& folder) {
            if (target.empty()) {
                mkfifo(folder.file(name).c_str(), 0600);
            } else if (hard) {
                fs::create_hard_link(folder.file(target), folder.file(name));
            } else {
                fs::create_symlink(folder.file(target), folder.file(name));
            }
            return videoTo(name)(folder);
        };
    };
    std::vector<Attack> attacks = {
        {"in step: the one output", good, audioTo("a.ac3"), 0, "a.ac3"},
        {"the output is the source", good, videoTo("s.VOB"), 1, ""},
        {"the output is the source by another spelling", good, videoTo("d/../s.VOB"), 1, ""},
        {"the output is a hard link of the source", good, videoToMade("h.VOB", "s.VOB", true), 1,
         ""},
        {"the output is a symbolic link to the source", good, videoToMade("l.VOB", "s.VOB"), 1, ""},
        {"the output is a symbolic link to nothing", good, videoToMade("l.m2v", "d/nothing.m2v"), 1,
         ""},
        {"the output is a pipe", good, videoToMade("p.m2v", ""), 1, ""},
        {"the source is a pipe", good,
         [](const TempFolder& folder) {
             mkfifo(folder.file("fifo.VOB").c_str(), 0600);
             return std::vector<std::string>{folder.file("fifo.VOB"), "0xe0", folder.file("v.m2v")};
         },
         1, ""},
        {"audio ten hours after the video", source(10LL * 3600 * 90000), audioTo("a.ac3"), 1, ""},
        // Ending before the video's first picture, its time stamps still above zero.
        {"audio wholly before the video", source(-99 * 900), audioTo("a.ac3"), 1, ""},
        {"AC-3 without a sync word", source(0, false), audioTo("a.ac3"), 1, ""},
        {"a listing beside an IFO that is a pipe", good,
         [](const TempFolder& folder) {
             mkfifo(folder.file("VTS_01_0.IFO").c_str(), 0600);
             return std::vector<std::string>{"--list", folder.file("s.VOB")};
         },
         0, ""},
        {"a listing beside an IFO of a gigabyte", good,
         [](const TempFolder& folder) {
             fs::resize_file(folder.touch("VTS_01_0.IFO"), std::uintmax_t{1} << 30);
             return std::vector<std::string>{"--list", folder.file("s.VOB")};
         },
         0, ""},
        {"a listing beside an IFO that is a folder", good,
         [](const TempFolder& folder) {
             fs::create_directory(folder.file("VTS_01_0.IFO"));
             return std::vector<std::string>{"--list", folder.file("s.VOB")};
         },
         0, ""},
    };
    TempFolder large;
    writeLargeSource(large.file("large.VOB"));
    const std::uint64_t largeSum = checksum(large.file("large.VOB"));
    std::vector<Attack> interrupted;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        interrupted.push_back({strsignal(signal), "", videoTo("v.m2v"), 128 + signal, "", signal});
    }
    for (const std::vector<Attack>* table : {&attacks, &interrupted}) {
        for (const Attack& attack : *table) {
            SCOPED_TRACE(attack.name);
            TempFolder folder;
            fs::create_directory(folder.file("d"));
            if (attack.bytes.empty()) {
                fs::copy_file(large.file("large.VOB"), folder.file("s.VOB"));
            } else {
                writeBytes(folder.file("s.VOB"), attack.bytes);
            }
            const std::vector<std::string> arguments = attack.scene(folder);
            const std::vector<std::string> before = namesIn(folder.path());
            const ToolRun run = bbdmux(arguments, [&](pid_t pid) {
                if (attack.signal == 0) {
                    return;
                }
                // Once the stream is being written, under its temporary name.
                for (int wait = 0; wait < 5000; ++wait) {
                    for (const std::string& name : namesIn(folder.path())) {
                        if (name.find(".part") != std::string::npos &&
                            fs::file_size(folder.file(name)) > 0) {
                            kill(pid, attack.signal);
                            return;
                        }
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            });
            EXPECT_FALSE(run.timedOut);
            EXPECT_EQ(run.status, attack.status);
            if (attack.bytes.empty()) {
                EXPECT_EQ(checksum(folder.file("s.VOB")), largeSum) << "the source was changed";
            } else {
                EXPECT_EQ(readBytes(folder.file("s.VOB")), attack.bytes)
                    << "the source was changed";
            }
            std::vector<std::string> expected = before;
            if (*attack.output != '\0') {
                expected.push_back(attack.output);
                std::sort(expected.begin(), expected.end());
                EXPECT_GT(fs::file_size(folder.file(attack.output)), 0u);
            }
            EXPECT_EQ(namesIn(folder.path()), expected);
            EXPECT_TRUE(fs::is_empty(folder.file("d"))) << "a file was made through a link";
        }
    }
#ifndef MAROVINK_SANITIZED  // sanitizers reserve memory of their own
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, memoryBoundKb);
#endif
}
