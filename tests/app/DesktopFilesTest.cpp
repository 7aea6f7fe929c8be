// What the desktop sees of the program: its desktop entry, its software-centre metadata, its
// icon and its name and version.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QProcess>
#include <QStandardPaths>

#include <set>

#include "Application.h"

namespace {

const QString SourceDir = QStringLiteral(VELQUOR_APP_SOURCE_DIR);

TEST(DesktopFiles, DesktopEntryAndMetainfoPassTheirValidatorsAndNameTheProgram) {
    const std::pair<const char*, QStringList> validators[] = {
        {"desktop-file-validate", {SourceDir + "/org.velquor.Velquor.desktop"}},
        {"appstreamcli", {"validate", "--no-net", SourceDir + "/org.velquor.Velquor.metainfo.xml"}},
    };
    for (const auto& [program, arguments] : validators) {
        SCOPED_TRACE(program);
        ASSERT_FALSE(QStandardPaths::findExecutable(program).isEmpty()) << "not installed";
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, arguments);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(QProcess::NormalExit, p.exitStatus());
        EXPECT_EQ(0, p.exitCode()) << p.readAll().toStdString();
    }
    QFile file(SourceDir + "/org.velquor.Velquor.desktop");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (const char* line : {"Name=Velquor utility", "Exec=velquor", "Icon=org.velquor.Velquor"})
        EXPECT_TRUE(lines.contains(line)) << line;
}

TEST(ApplicationMetadata, CarriesNameVersionDescriptionAndIconsButLeavesTheTitleAlone) {
    SetApplicationMetadata(*qApp);
    SetApplicationIcon(*qApp);
    EXPECT_EQ("VELQUOR", QCoreApplication::applicationName());
    EXPECT_EQ("1.3.3.4", QCoreApplication::applicationVersion());
    EXPECT_EQ("Velquor utility", qApp->property("description").toString());
    EXPECT_EQ("org.velquor.Velquor", QGuiApplication::desktopFileName());
    EXPECT_EQ("Velquor utility", Application.Title);
    // A display name set on Qt would be appended to the window title by some platforms.
    EXPECT_EQ(QCoreApplication::applicationName(), QGuiApplication::applicationDisplayName());
    const QList<QSize> sizes = qApp->windowIcon().availableSizes();
    for (int size : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;

    // The classic picture: 32 x 32 in at most 16 colours.
    const QImage icon(":/velquor/icons/velquor-32.png");
    ASSERT_EQ(QSize(32, 32), icon.size());
    std::set<QRgb> colours;
    for (int i = 0; i < 32 * 32; ++i) {
        const QRgb pixel = icon.pixel(i % 32, i / 32);
        colours.insert(qAlpha(pixel) ? pixel : 0);
    }
    EXPECT_LE(colours.size(), 16u + 1); // and the transparent corners
}

} // namespace
