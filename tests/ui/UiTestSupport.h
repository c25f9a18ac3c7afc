#pragma once

#include <QPoint>
#include <QString>
#include <filesystem>

class QWidget;
class QPixmap;

namespace olvane::test {

// Folder of the pictures the test run leaves for people to look at (build/<preset>/artefacts).
std::filesystem::path artefactsFolder();
// Saves `pixmap` as artefacts/<name>.png; false when it could not be written.
bool saveArtefact(const QPixmap& pixmap, const QString& name);
// Lays `widget` out, grabs it and saves the picture.
bool saveArtefact(QWidget& widget, const QString& name);

// Gives a page shown alone the main window's white background, for its pictures.
void paintWhite(QWidget& page);

// A left click (press and release) at `pos` in `widget`'s coordinates.
void clickAt(QWidget* widget, QPoint pos);
// The pointer comes onto `widget` (true) or leaves it (false).
void hover(QWidget* widget, bool inside);

// Runs the Qt event loop (deferred deletions included) for `ms`, asleep while nothing comes.
void processEventsFor(int ms);

// Runs the Qt event loop (deferred deletions included) until `predicate` holds or `timeoutMs`
// passes; true when it held.
template <typename Predicate>
bool processEventsUntil(Predicate predicate, int timeoutMs = 2000);

}  // namespace olvane::test

#include <QCoreApplication>
#include <QElapsedTimer>

namespace olvane::test {

template <typename Predicate>
bool processEventsUntil(Predicate predicate, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!predicate()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        // Asleep between looks, which leaves the processes it waits for their share of a busy
        // machine.
        processEventsFor(5);
    }
    return true;
}

}  // namespace olvane::test
