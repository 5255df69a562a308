#pragma once

// A project opened through the control as the host opens it, its dialogs answered by `modal`.
#include "ScriptedModal.h"
#include "TestProjekt.h"
#include "TovoRaumverwCtrl.h"

#include <QtTest>

struct SteuerungProjekt : TestProjekt {
    explicit SteuerungProjekt(const QString& exeDir = TovoBinDir() + QLatin1Char('/'))
        : TestProjekt(false) {
        ok = ok && ctrl.OpenDb(exeDir, dir.path(), QString(), nullptr);
    }
    ScriptedModal modal;
    TovoRaumverwCtrl ctrl;
};
