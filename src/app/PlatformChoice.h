#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

// The Qt platform plugin to ask for, or empty to let Qt choose. A Wayland session does not let a
// window place itself, and the splash must; so use XWayland (xcb) when it is there, unless the
// user chose a platform.
[[nodiscard]] QByteArray PreferredPlatform(const QProcessEnvironment& environment);
