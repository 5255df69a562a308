#pragma once

#include "ModalDialog.h"

#include <QDialog>
#include <QTest>
#include <functional>

// Modal runner for tests, installed for its lifetime (the previous one comes back after). Each
// dialog goes to the first step for its class: a step added with `einmal` answers one dialog, one
// added with `immer` every dialog of its class. A step that returns nothing answers with the
// dialog's result(), i.e. what its buttons set. A dialog no step takes, and a step `einmal` left
// unused, fail the test.
class ScriptedModal : public IModalRunner {
public:
    ScriptedModal() : m_vorher(SetModalRunner(this)) {}
    ~ScriptedModal() override {
        SetModalRunner(m_vorher);
        for (const Schritt& s : m_schritte)
            if (s.einmal && QTest::currentTestFunction() && !QTest::currentTestFailed())
                QTest::qFail(QByteArray("Dialog nicht geöffnet: " + s.klasse).constData(), __FILE__,
                             __LINE__);
    }

    template <class F> ScriptedModal& einmal(F f) { return neu(&F::operator(), f, true); }
    template <class F> ScriptedModal& immer(F f) { return neu(&F::operator(), f, false); }

    int run(QDialog& dialog) override {
        gezeigt << QLatin1String(dialog.metaObject()->className());
        for (qsizetype i = 0; i < m_schritte.size(); ++i) {
            if (!dialog.inherits(m_schritte[i].klasse.constData()))
                continue;
            const Schritt s = m_schritte[i]; // the step may queue further steps
            if (s.einmal)
                m_schritte.removeAt(i);
            return s.antwort(dialog);
        }
        QTest::qFail(qPrintable(QStringLiteral("Unerwarteter Dialog %1 „%2“")
                                    .arg(gezeigt.last(), dialog.windowTitle())),
                     __FILE__, __LINE__);
        return QDialog::Rejected;
    }

    QStringList gezeigt; // the classes of the dialogs run, in order

private:
    struct Schritt {
        QByteArray klasse;
        std::function<int(QDialog&)> antwort;
        bool einmal;
    };
    template <class F, class R, class D> ScriptedModal& neu(R (F::*)(D&) const, F f, bool einmal) {
        m_schritte.append({D::staticMetaObject.className(),
                           [f](QDialog& d) {
                               if constexpr (std::is_void_v<R>) {
                                   f(static_cast<D&>(d));
                                   return d.result();
                               } else {
                                   return int(f(static_cast<D&>(d)));
                               }
                           },
                           einmal});
        return *this;
    }

    IModalRunner* m_vorher;
    QList<Schritt> m_schritte;
};
