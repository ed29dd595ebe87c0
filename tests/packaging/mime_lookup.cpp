// Prints the media type that the shared MIME database gives each file named, one a line; with
// XDG_DATA_DIRS pointing at a staged install, this is what a desktop would see.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QMimeDatabase database;
    for (const QString& file : QCoreApplication::arguments().mid(1)) {
        std::printf("%s\n", database.mimeTypeForFile(file).name().toUtf8().constData());
    }
    return 0;
}
