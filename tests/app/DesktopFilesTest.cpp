// SPDX-License-Identifier: MIT
// What the desktop sees of the program: its desktop entry and software-centre metadata, which
// must agree with the names, version and icon sizes the program gives itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QProcess>

#include "Application.h"

namespace {

QString Read(const QString& name) {
    QFile file(QStringLiteral(VELQUOR_APP_SOURCE_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

TEST(DesktopFiles, PassTheirValidatorsAndAgreeWithTheProgramsNamesVersionAndIcon) {
    for (const QStringList& command :
         {QStringList{"desktop-file-validate", "org.velquor.Velquor.desktop"},
          QStringList{"appstreamcli", "validate", "--no-net",
                      "org.velquor.Velquor.metainfo.xml"}}) {
        QProcess p;
        p.setWorkingDirectory(VELQUOR_APP_SOURCE_DIR);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(command[0], command.mid(1));
        ASSERT_TRUE(p.waitForFinished(60000)) << command[0].toStdString() << " not installed?";
        EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            << p.readAll().toStdString();
    }
    SetApplicationMetadata(*qApp);
    SetApplicationIcon(*qApp);
    const QString id = QGuiApplication::desktopFileName(),
                  name = QCoreApplication::applicationName();
    const QStringList entry = Read(id + ".desktop").split('\n');
    for (const QString& line : QStringList{"Name=Velquor utility", "Exec=velquor", "Icon=" + id,
                                           "StartupWMClass=" + name})
        EXPECT_TRUE(entry.contains(line)) << line.toStdString();
    const QString metainfo = Read(id + ".metainfo.xml");
    EXPECT_TRUE(metainfo.contains("<release version=\"" + QCoreApplication::applicationVersion()));
    // The software centre shows the licence that LICENSE grants ("MIT License" on its first line).
    const QString licence = Read("../LICENSE").section('\n', 0, 0).section(' ', 0, 0);
    EXPECT_TRUE(metainfo.contains("<project_license>" + licence + "</project_license>"))
        << licence.toStdString();
    // A display name set on Qt would be appended to the window title by some platforms.
    EXPECT_EQ(name, QGuiApplication::applicationDisplayName());

    for (int size : {16, 32, 48, 256})
        EXPECT_TRUE(qApp->windowIcon().availableSizes().contains(QSize(size, size))) << size;
}

} // namespace
