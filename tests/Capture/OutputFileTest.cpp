// OutputFile: only a free name or a regular file is ever replaced, and every
// failure names the path and the system's reason.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "Capture/CaptureError.h"
#include "Capture/OutputFile.h"

namespace {

class OutputFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dedoz-output-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        m_dir = pattern;
    }
    void TearDown() override { EXPECT_EQ(0, std::system(("rm -rf '" + m_dir + "'").c_str())); }

    // The line OutputFile(path) throws, "" when it does not.
    static std::string refusal(const std::string& path)
    {
        try {
            OutputFile file(path);
        } catch (const CaptureError& e) {
            return e.what();
        }
        return "";
    }

    static mode_t typeOf(const std::string& path)
    {
        struct stat info;
        return lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
    }

    std::string m_dir;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// rename() would put a file in place of any of these: each is refused with one
// line naming it, and left as it was, with no temporary file beside it.
TEST_F(OutputFileTest, RefusesWhatIsNoRegularFileAndLeavesItAlone)
{
    const std::string fifo = m_dir + "/fifo", socketPath = m_dir + "/socket";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(0, bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address));
    struct Case {
        std::string path;
        mode_t type;
        std::string kind;
    };
    std::vector<Case> cases = {{fifo, S_IFIFO, "a FIFO"},
                               {m_dir, S_IFDIR, "a directory"},
                               {socketPath, S_IFSOCK, "a socket"}};
    // Device nodes only where the test may make them: private copies of the nodes
    // of /dev/null and /dev/full, in this test's own directory.
    if (geteuid() == 0) {
        ASSERT_EQ(0, mknod((m_dir + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)));
        ASSERT_EQ(0, mknod((m_dir + "/full").c_str(), S_IFCHR | 0666, makedev(1, 7)));
        cases.push_back({m_dir + "/null", S_IFCHR, "a character device"});
        cases.push_back({m_dir + "/full", S_IFCHR, "a character device"});
    }
    for (const Case& c : cases) {
        EXPECT_EQ("cannot write '" + c.path + "': it is " + c.kind + ", not a regular file",
                  refusal(c.path));
        EXPECT_EQ(c.type, typeOf(c.path)) << c.path;
        EXPECT_EQ(0u, typeOf(c.path + ".part")) << c.path;
    }
    close(s);

    // The temporary name is not taken over either: a FIFO there stays.
    const std::string out = m_dir + "/a.mp4";
    ASSERT_EQ(0, mkfifo((out + ".part").c_str(), 0644));
    EXPECT_NE(std::string::npos, refusal(out).find("'" + out + ".part' is a FIFO"));
    EXPECT_EQ(static_cast<mode_t>(S_IFIFO), typeOf(out + ".part"));
    EXPECT_EQ(0u, typeOf(out));
}

// A regular file is replaced whole only at commit; a name taken by a FIFO during
// the capture is refused at commit too; without commit nothing is left.
TEST_F(OutputFileTest, ReplacesARegularFileOnlyAtCommit)
{
    const std::string out = m_dir + "/a.png";
    std::ofstream(out) << "old picture";
    {
        OutputFile file(out);
        file.write("new", 3);
        EXPECT_EQ("old picture", readFile(out));
        file.commit();
    }
    EXPECT_EQ("new", readFile(out));
    {
        OutputFile unused(m_dir + "/b");
        EXPECT_EQ(static_cast<mode_t>(S_IFREG), typeOf(m_dir + "/b.part"));
    }
    EXPECT_EQ(0u, typeOf(m_dir + "/b.part"));
    EXPECT_EQ(0u, typeOf(m_dir + "/b"));

    OutputFile late(out);
    late.write("x", 1);
    ASSERT_EQ(0, unlink(out.c_str()));
    ASSERT_EQ(0, mkfifo(out.c_str(), 0644));
    try {
        late.commit();
        ADD_FAILURE() << "a FIFO was replaced";
    } catch (const CaptureError& e) {
        EXPECT_EQ("cannot write '" + out + "': it is a FIFO, not a regular file",
                  std::string(e.what()));
    }
    EXPECT_EQ(static_cast<mode_t>(S_IFIFO), typeOf(out));
}

// The reason given is the system's, for the path that failed: the temporary file.
TEST_F(OutputFileTest, FailuresGiveThePathAndTheSystemsReason)
{
    EXPECT_EQ("cannot create '" + m_dir + "/no/a.mp4.part': No such file or directory",
              refusal(m_dir + "/no/a.mp4"));

    OutputFile file(m_dir + "/big.png");
    // A file size limit makes the write fail as a full disk would (EFBIG, not a signal).
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit limit = {}, saved = {};
    getrlimit(RLIMIT_FSIZE, &saved);
    limit.rlim_cur = 16;
    limit.rlim_max = saved.rlim_max;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limit));
    std::string line;
    try {
        file.write(std::string(64, 'x').data(), 64);
    } catch (const CaptureError& e) {
        line = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ("cannot write '" + m_dir + "/big.png.part': File too large", line);
}
