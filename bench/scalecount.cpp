// SPDX-License-Identifier: GPL-3.0-or-later
// The executable's own definition of QPixmap::scaled(const QSize&, ...) takes the calls that the window's
// code makes to it, since the static linker binds them here before Qt's library is ever looked at. It counts
// the call and hands it on to Qt's definition, found with dlsym(RTLD_NEXT). Nothing in the shipped code has
// to keep a count for the benchmark, and the copies counted are the ones Qt actually made.

#include "scalecount.h"

#include <QPixmap>
#include <QSize>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include <dlfcn.h>

namespace zirk::bench {

namespace {

std::mutex countsMutex;

std::map<qint64, long long>& counts() {
    static std::map<qint64, long long> byPicture;
    return byPicture;
}

long long acrossMaps = 0;
long long downMaps = 0;

void countCopyOf(const QPixmap& picture, const QSize& size) {
    const std::lock_guard<std::mutex> lock(countsMutex);
    ++counts()[picture.cacheKey()];
    acrossMaps += picture.height() == 1 && size.height() == 1;
    downMaps += picture.width() == 1 && size.width() == 1;
}

// Itanium C++ ABI: a const member function returning a class by value takes the hidden result pointer and
// then `this`, exactly as a free function taking the object first.
using RealScaled = QPixmap (*)(const QPixmap*, const QSize&, Qt::AspectRatioMode, Qt::TransformationMode);

RealScaled realScaled() {
    static const RealScaled real = [] {
        void* symbol =
            ::dlsym(RTLD_NEXT, "_ZNK7QPixmap6scaledERK5QSizeN2Qt15AspectRatioModeENS3_18TransformationModeE");
        if (!symbol) {
            // Without Qt's own definition no picture could be stretched at all: measuring on would mean
            // nothing.
            std::fprintf(stderr, "QPixmap::scaled not found in Qt: %s\n", ::dlerror());
            std::abort();
        }
        return reinterpret_cast<RealScaled>(symbol);
    }();
    return real;
}

} // namespace

long long scaledCopiesOf(qint64 cacheKey) {
    const std::lock_guard<std::mutex> lock(countsMutex);
    const auto it = counts().find(cacheKey);
    return it == counts().end() ? 0 : it->second;
}

long long acrossMapsMade() {
    const std::lock_guard<std::mutex> lock(countsMutex);
    return acrossMaps;
}

long long downMapsMade() {
    const std::lock_guard<std::mutex> lock(countsMutex);
    return downMaps;
}

} // namespace zirk::bench

QPixmap QPixmap::scaled(const QSize& size, Qt::AspectRatioMode aspectMode,
                        Qt::TransformationMode mode) const {
    zirk::bench::countCopyOf(*this, size);
    return zirk::bench::realScaled()(this, size, aspectMode, mode);
}
