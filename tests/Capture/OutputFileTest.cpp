// OutputFile: only a free name or a regular file is ever replaced, and every
// failure names the path that failed and the system's reason.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "Capture/CaptureError.h"
#include "Capture/OutputFile.h"

namespace {

mode_t typeOf(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// The line that f throws, "" when it throws nothing.
std::string failure(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CaptureError& e) {
        return e.what();
    }
    return "";
}

std::string privateDirectory()
{
    char pattern[] = "/tmp/dedoz-output-XXXXXX";
    return mkdtemp(pattern) ? pattern : "";
}

}  // namespace

// rename() would put a file in place of any of these: each is refused with one
// line naming it and left as it was, with nothing beside it; at commit too.
TEST(OutputFile, ReplacesNothingButARegularFile)
{
    const std::string dir = privateDirectory();
    ASSERT_NE("", dir);
    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    std::vector<std::pair<std::string, std::string>> cases = {{fifo, "a FIFO"},
                                                              {dir, "a directory"}};
    // Device nodes only where the test may make them: private copies of the nodes
    // of /dev/null and /dev/full, never the real ones.
    if (geteuid() == 0) {
        for (const auto& [name, minor] : {std::pair<std::string, int>{"null", 3}, {"full", 7}}) {
            ASSERT_EQ(0, mknod((dir + "/" + name).c_str(), S_IFCHR | 0666, makedev(1, minor)));
            cases.push_back({dir + "/" + name, "a character device"});
        }
    }
    for (const auto& [path, kind] : cases) {
        const mode_t type = typeOf(path);
        EXPECT_EQ("cannot write '" + path + "': it is " + kind + ", not a regular file",
                  failure([&] { OutputFile file(path); }));
        EXPECT_EQ(type, typeOf(path));
        EXPECT_EQ(0u, typeOf(path + ".part")) << path;
    }

    // A name taken by a FIFO while the capture ran; then a FIFO at the temporary name.
    const std::string out = dir + "/a.png";
    {
        OutputFile file(out);
        file.write("x", 1);
        ASSERT_EQ(0, mkfifo(out.c_str(), 0644));
        EXPECT_EQ("cannot write '" + out + "': it is a FIFO, not a regular file",
                  failure([&] { file.commit(); }));
    }
    EXPECT_EQ(0u, typeOf(out + ".part"));
    ASSERT_EQ(0, std::rename(out.c_str(), (out + ".part").c_str()));
    EXPECT_NE(std::string::npos,
              failure([&] { OutputFile file(out); }).find("'" + out + ".part' is a FIFO"));
    EXPECT_EQ(static_cast<mode_t>(S_IFIFO), typeOf(out + ".part"));

    // A regular file is replaced whole.
    const std::string picture = dir + "/b.png";
    std::ofstream(picture) << "old picture";
    OutputFile file(picture);
    file.write("new", 3);
    file.commit();
    std::string content;
    std::getline(std::ifstream(picture), content);
    EXPECT_EQ("new", content);
    EXPECT_EQ(0, std::system(("rm -rf '" + dir + "'").c_str()));
}

// The reason is the system's, for the path that failed: the temporary file.
TEST(OutputFile, FailuresGiveThePathAndTheSystemsReason)
{
    const std::string dir = privateDirectory();
    EXPECT_EQ("cannot create '" + dir + "/no/a.mp4.part': No such file or directory",
              failure([&] { OutputFile file(dir + "/no/a.mp4"); }));

    // A file size limit makes the write fail as a full disk would (EFBIG, no signal).
    OutputFile file(dir + "/big.png");
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit limit = {}, saved = {};
    getrlimit(RLIMIT_FSIZE, &saved);
    limit.rlim_cur = 16;
    limit.rlim_max = saved.rlim_max;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limit));
    const std::string line = failure([&] { file.write(std::string(64, 'x').data(), 64); });
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ("cannot write '" + dir + "/big.png.part': File too large", line);
    EXPECT_EQ(0, std::system(("rm -rf '" + dir + "'").c_str()));
}
