// What the export tests share: a played run of a short script, a temporary
// folder and a marker painter.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <string>

#include "render/export_scene.h"
#include "tests/engine/composed.h"
#include "tests/simulations/saving_fixture.h"

namespace velistrad {

inline QString qs(const char* text) {
    return QString::fromUtf8(text);
}

constexpr const char* kScript =
    "Mar, XZTCEVU, Now, All, Delay, 1.0, SC, XZE, Now, Mar, UZX, Simult, JD, XZ, Unsync";

inline ExportScene sceneOf(const std::string& script, TrailOptions options) {
    const auto played = Composed(script).composition;
    return ExportScene({played, {}, script, "Test run", options, played->size()});
}

struct ExportTest : ::testing::Test {
    QTemporaryDir dir;
    MarkerPainter markers;
};

}  // namespace velistrad
