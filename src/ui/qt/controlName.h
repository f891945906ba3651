#pragma once

#include <QObject>
#include <QString>

// Gives a control the name its window knows it by: tests, tools and accessibility reach it by that
// name, not by its place in the layout.
template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QLatin1String(name));
    return control;
}
