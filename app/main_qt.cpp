// The program: the forms as Qt windows.
//   juesibao [--screenshot FILE] [--quit-after MS]
// --screenshot saves the largest open window as a PNG before the program
// ends (after --quit-after, 3000 ms when not given; exit code 3 when no
// window could be saved); for checks without a desktop, with
// QT_QPA_PLATFORM=offscreen.
#include "app/program.h"
#include "ui/huge_page_heap.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_look.h"
#include "ui/runtime.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

bool have_display()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool save_largest_window(const QString& path)
{
    QWidget* best = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (!best || w->width() * w->height() > best->width() * best->height())) best = w;
    if (best && best->grab().save(path, "PNG")) return true;
    std::fprintf(stderr, "juesibao: no screenshot saved to %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    ui::back_heap_with_huge_pages();
    if (!have_display()) {
        std::fprintf(stderr, "juesibao: 没有可用的图形显示 (no display; set DISPLAY or QT_QPA_PLATFORM=offscreen)\n");
        return 1;
    }
    QApplication app(argc, argv);
    ui::qt::use_program_look();

    QString screenshot;
    int quit_after = -1;
    QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) screenshot = args[++i];
        else if (args[i] == "--quit-after" && i + 1 < args.size()) quit_after = args[++i].toInt();
        else {
            std::fprintf(stderr, "usage: juesibao [--screenshot FILE] [--quit-after MS]\n");
            return 2;
        }
    }
    if (!screenshot.isEmpty() && quit_after < 0) quit_after = 3000;

    ui::qt::QtBackend backend;
    ui::Runtime rt(backend);
    backend.attach(rt);
    app::use_built_in_addresses();
    try {
        if (!app::start_program(rt)) {
            std::fprintf(stderr, "juesibao: this build has no start-up form (forms/splash.json)\n");
            return 1;
        }
    } catch (const ui::ProgramExit& e) {
        return e.code;
    }
    if (quit_after >= 0)
        QTimer::singleShot(quit_after, &app, [&] {
            backend.quit(screenshot.isEmpty() || save_largest_window(screenshot) ? 0 : 3);
        });
    return backend.run_loop();
}
