// The yardstick for the program's start-up: the smallest Qt Widgets program,
// a window with one label, built here with the same compiler and options.
// It prints when its window has painted for the first time and ends.
#include "bench/gui/first_paint.h"

#include <QApplication>
#include <QLabel>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    const int64_t main_ns = bench_gui::now_ns();
    QApplication app(argc, argv);
    QLabel hello("Hello, world!");
    bench_gui::FirstPaint first_paint([&] { return &hello; },
                                      [&] {
                                          std::printf("main_ns %lld\npaint_ns %lld\npeak_rss_kb %ld\n",
                                                      (long long)main_ns, (long long)bench_gui::now_ns(),
                                                      bench_gui::peak_rss_kb());
                                          std::fflush(stdout);
                                          _exit(0);
                                      });
    app.installEventFilter(&first_paint);
    hello.show();
    return app.exec();
}
