#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdlib>

namespace {

// Empties the configuration and data folders after every test, so that settings or desktop
// entries one test's windows wrote never reach the next test run in the same process.
class FreshUserFolders : public testing::EmptyTestEventListener
{
public:
    explicit FreshUserFolders(QStringList folders)
        : folders_(std::move(folders))
    { }

    void OnTestEnd(const testing::TestInfo &) override
    {
        for (const QString &folder : folders_) {
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
        }
    }

private:
    QStringList folders_;
};

} // namespace

TestEnvironment::TestEnvironment()
{
    const QByteArray base = qgetenv("TMPDIR").isEmpty() ? QByteArray("/tmp") : qgetenv("TMPDIR");
    QByteArray pattern = base + "/brimlet-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    root_ = QString::fromLocal8Bit(pattern);
    for (const char *name : { "tmp", "config", "data" })
        QDir(root_).mkpath(QLatin1String(name));
    qputenv("TMPDIR", QFile::encodeName(root_ + QLatin1String("/tmp")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root_ + QLatin1String("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root_ + QLatin1String("/data")));
}

TestEnvironment::~TestEnvironment()
{
    QDir(root_).removeRecursively();
}

QString TestEnvironment::TempFolder()
{
    return QDir::tempPath();
}

int TestEnvironment::Run()
{
    testing::UnitTest::GetInstance()->listeners().Append(
        new FreshUserFolders({ root_ + QLatin1String("/config"), root_ + QLatin1String("/data") }));
    const int result = RUN_ALL_TESTS();
    const QStringList left = IndexFilesLeft();
    if (!left.isEmpty()) {
        std::fprintf(stderr, "Index files left in the temporary folder: %s\n",
            qPrintable(left.join(QLatin1String(", "))));
        return 1;
    }
    return result;
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList IndexFilesLeft()
{
    return QDir(QDir::tempPath()).entryList({ QStringLiteral("x12*") }, QDir::Files | QDir::Hidden);
}

QStringList OpenUnnamedFiles(const QString &folder, qint64 pid)
{
    const QString in = folder.isEmpty() ? QDir::tempPath() : folder;
    const QDir fds(
        pid == 0 ? QStringLiteral("/proc/self/fd") : QStringLiteral("/proc/%1/fd").arg(pid));
    QStringList found;
    for (const QString &fd : fds.entryList(QDir::Files | QDir::System)) {
        const QString target = QFile::symLinkTarget(fds.filePath(fd));
        if (target.startsWith(in + QLatin1String("/#")))
            found.append(target);
    }
    return found;
}
