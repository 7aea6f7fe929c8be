// What the desktop sees of the program: its desktop entry, its software-centre metadata, its
// icon and its name and version.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <set>

#include "Application.h"
#include "Main.h"

namespace {

const QString SourceDir = QStringLiteral(VELQUOR_APP_SOURCE_DIR);

struct Validator {
    const char* program;
    QStringList arguments;
};

TEST(DesktopFiles, DesktopEntryAndMetainfoPassTheirValidators) {
    const Validator validators[] = {
        {"desktop-file-validate", {SourceDir + "/org.velquor.Velquor.desktop"}},
        {"appstreamcli", {"validate", "--no-net", SourceDir + "/org.velquor.Velquor.metainfo.xml"}},
    };
    for (const Validator& v : validators) {
        SCOPED_TRACE(v.program);
        if (QStandardPaths::findExecutable(v.program).isEmpty()) {
            ADD_FAILURE() << v.program << " is not installed";
            continue;
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(v.program, v.arguments);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QByteArray output = p.readAll();
        EXPECT_EQ(QProcess::NormalExit, p.exitStatus());
        EXPECT_EQ(0, p.exitCode()) << output.toStdString();
    }
}

TEST(DesktopFiles, DesktopEntryNamesTheProgramAndItsIcon) {
    QFile file(SourceDir + "/org.velquor.Velquor.desktop");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (const char* line :
         {"Name=Velquor utility", "Exec=velquor", "Icon=org.velquor.Velquor", "Type=Application"})
        EXPECT_TRUE(lines.contains(line)) << line;
}

TEST(ApplicationMetadata, CarriesNameVersionDescriptionAndIconButLeavesTheTitleAlone) {
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
}

TEST(ApplicationIcon, ClassicImageIs32By32InAtMost16Colours) {
    const QImage icon(":/velquor/icons/velquor-32.png");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(QSize(32, 32), icon.size());
    std::set<QRgb> colours;
    int transparent = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb pixel = icon.pixel(x, y);
            if (qAlpha(pixel) == 0)
                ++transparent;
            else
                colours.insert(pixel);
        }
    EXPECT_LE(colours.size(), 16u);
    EXPECT_GT(transparent, 0);  // rounded corners
    EXPECT_LT(transparent, 64); // but mostly picture
    for (int size : {16, 48, 64, 128, 256})
        EXPECT_EQ(QSize(size, size),
                  QImage(QString(":/velquor/icons/velquor-%1.png").arg(size)).size());
}

} // namespace
