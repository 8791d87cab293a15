// The tree `cmake --install` makes under a fresh prefix: what lies where, whether the desktop's
// validators accept its entry and metainfo, and whether the player starts from its link; and the
// Debian package `cpack` makes, as lintian and dpkg see it.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "tests/support/player_process.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {
constexpr int kOrderly = 18;
const std::string kAppId = QUINTARA_APP_ID;
const std::string kAppDir = QUINTARA_INSTALL_APPDIR;
const std::string kBinDir = QUINTARA_INSTALL_BINDIR;
const std::string kDataDir = QUINTARA_INSTALL_DATADIR;
const std::string kShareDir = QUINTARA_INSTALL_SHAREDIR;
const std::string kSysconfDir = QUINTARA_INSTALL_SYSCONFDIR;

struct Ran {
    int status = -1;  // -1: did not start, crashed or hung
    std::string output;
};

Ran run(const std::string& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(program), arguments);
    Ran ran;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        ran.status = process.exitCode();
    ran.output = process.readAll().toStdString();
    return ran;
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One install for the whole program, which the tests leave as they found it.
class InstallTree : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix = new TempDir;
        const Ran install = run(QUINTARA_CMAKE, {"--install", QUINTARA_BUILD_DIR, "--prefix",
                                                 QString::fromStdString(prefix->path())});
        installed = install.status == 0;
        installLog = install.output;
    }
    static void TearDownTestSuite()
    {
        delete prefix;
        prefix = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(installed) << installLog; }
    static fs::path at(const std::string& path) { return fs::path(prefix->path()) / path; }

    static inline TempDir* prefix = nullptr;
    static inline bool installed = false;
    static inline std::string installLog;
};

// Relative links, so the tree may move with its prefix.
void expectRelativeLink(const fs::path& link, const fs::path& target)
{
    ASSERT_TRUE(fs::is_symlink(link)) << link;
    EXPECT_TRUE(fs::read_symlink(link).is_relative()) << fs::read_symlink(link);
    EXPECT_EQ(fs::canonical(link), fs::canonical(target)) << link;
}

TEST_F(InstallTree, HoldsThePlayerWithLinksToItsConfigurationSkinAndItself)
{
    const fs::path player = at(kAppDir + "/quintara");
    ASSERT_TRUE(fs::is_regular_file(player));
    EXPECT_NE(fs::status(player).permissions() & fs::perms::others_exec, fs::perms::none);
    expectRelativeLink(at(kBinDir + "/quintara"), player);

    // The player reads them beside itself; they lie where the file system's rules want them.
    expectRelativeLink(at(kAppDir + "/Quintara.CFG"), at(kSysconfDir + "/quintara/Quintara.CFG"));
    expectRelativeLink(at(kAppDir + "/skin"), at(kShareDir + "/skin"));
    EXPECT_EQ(readAll(at(kAppDir + "/Quintara.CFG")), readAll(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG"));

    // Every picture of the default skin, byte for byte, through the link.
    const fs::path skin = QUINTARA_SOURCE_DIR "/resources/skin";
    int pictures = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(skin)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path installed = at(kAppDir + "/skin") / fs::relative(entry.path(), skin);
        EXPECT_EQ(readAll(installed), readAll(entry.path())) << installed;
        ++pictures;
    }
    EXPECT_GT(pictures, 10);
}

TEST_F(InstallTree, HoldsTheDesktopEntryMetainfoAndAnIconAtEverySize)
{
    EXPECT_TRUE(fs::is_regular_file(at(kDataDir + "/applications/" + kAppId + ".desktop")));
    EXPECT_TRUE(fs::is_regular_file(at(kDataDir + "/metainfo/" + kAppId + ".metainfo.xml")));
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string size = std::to_string(side) + "x" + std::to_string(side);
        const fs::path icon = at(kDataDir + "/icons/hicolor/" + size + "/apps/" + kAppId + ".png");
        const QImage image(QString::fromStdString(icon.string()));
        ASSERT_FALSE(image.isNull()) << icon;
        EXPECT_EQ(image.size(), QSize(side, side)) << icon;
        EXPECT_TRUE(image.hasAlphaChannel()) << icon;
    }
}

TEST_F(InstallTree, TheDesktopsValidatorsAcceptTheEntryAndTheMetainfo)
{
    const std::string entry = at(kDataDir + "/applications/" + kAppId + ".desktop").string();
    const Ran desktop = run("desktop-file-validate", {QString::fromStdString(entry)});
    EXPECT_EQ(desktop.status, 0) << desktop.output;
    EXPECT_EQ(desktop.output, "");

    const std::string metainfo = at(kDataDir + "/metainfo/" + kAppId + ".metainfo.xml").string();
    const Ran appstream = run("appstreamcli", {"validate", "--no-net", QString::fromStdString(metainfo)});
    EXPECT_EQ(appstream.status, 0) << appstream.output;
    EXPECT_NE(appstream.output.find("Validation was successful"), std::string::npos) << appstream.output;
}

TEST_F(InstallTree, ThePlayerStartsThroughItsLinkAndEndsInOrder)
{
    // The installed player reads the configuration and skin beside its real file: without
    // them it would refuse to start.
    PlayerSandbox sandbox;
    const QString link = QString::fromStdString(at(kBinDir + "/quintara").string());
    auto running = sandbox.launch({}, link);
    ASSERT_TRUE(running);
    EXPECT_EQ(sandbox.run({"Close"}, nullptr, 10000, link), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*running), kOrderly);

    // The same tree without its skin refuses the start, so the start above found this one.
    fs::rename(at(kAppDir + "/skin"), at(kAppDir + "/skin-away"));
    QString refusal;
    EXPECT_EQ(sandbox.run({}, &refusal, 30000, link), 0);
    EXPECT_FALSE(refusal.isEmpty());
    fs::rename(at(kAppDir + "/skin-away"), at(kAppDir + "/skin"));
}

// The package's prefix is /usr: its configuration is a conffile in /etc, reached by an absolute
// link, and lintian finds nothing to say at its default level. Without lintian this fails.
TEST_F(InstallTree, ThePackageKeepsItsConfigurationAsAConffileAndPassesLintian)
{
    const TempDir out;
    const Ran cpack = run(QUINTARA_CPACK, {"--config", QUINTARA_BUILD_DIR "/CPackConfig.cmake", "-G", "DEB", "-B",
                                           QString::fromStdString(out.path())});
    ASSERT_EQ(cpack.status, 0) << cpack.output;
    std::vector<fs::path> packages;
    for (const fs::directory_entry& entry : fs::directory_iterator(out.path())) {
        if (entry.path().extension() == ".deb")
            packages.push_back(entry.path());
    }
    ASSERT_EQ(packages.size(), 1u) << cpack.output;
    const QString package = QString::fromStdString(packages.front().string());

    const Ran conffiles = run("dpkg-deb", {"--info", package, "conffiles"});
    EXPECT_EQ(conffiles.output, "/etc/quintara/Quintara.CFG\n");
    const fs::path tree = fs::path(out.path()) / "tree";
    ASSERT_EQ(run("dpkg-deb", {"--extract", package, QString::fromStdString(tree.string())}).status, 0);
    EXPECT_EQ(readAll(tree / "etc/quintara/Quintara.CFG"), readAll(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG"));
    EXPECT_EQ(fs::read_symlink(tree / "usr/lib/quintara/Quintara.CFG"), "/etc/quintara/Quintara.CFG");
    EXPECT_EQ(fs::canonical(tree / "usr/lib/quintara/skin"), fs::canonical(tree / "usr/share/quintara/skin"));

    const Ran lintian = run("lintian", {package});
    EXPECT_EQ(lintian.status, 0) << lintian.output;
    std::istringstream lines(lintian.output);
    for (std::string line; std::getline(lines, line);)
        EXPECT_FALSE(line.starts_with("E:") || line.starts_with("W:")) << line;
}
}  // namespace
