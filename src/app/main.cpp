// Start-up: the window first, the gateway module second, then the message loop until the
// window is closed.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <string>

#include "gateway/FrmDataModHttp.h"
#include "window/FrmQorClient.h"
#include "window/qt_dialogs.h"

namespace {

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Where the reply dump goes on a system without drive C.
QString dumpFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("QorClient"));

    qor::window::QtDialogs dialogs;
    qor::window::TFormQorClient form(dialogs);
    dialogs.setOwner(&form);

    qor::gateway::TDataModHttp dataModHttp(localPath(QCoreApplication::applicationDirPath()),
                                           localPath(dumpFolder()), dialogs);
    form.setDataModHttp(&dataModHttp);

    form.show();
    return app.exec();
}
