#pragma once

#include "ModalDialog.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QTest>
#include <functional>
#include <type_traits>

// Modal runner for tests, installed for its lifetime (the previous runner comes back after). Each
// dialog goes to the first step whose dialog class it has: a step added with `einmal` answers
// one dialog, one added with `immer` every dialog of its class. A step that returns nothing
// answers with the dialog's result(), i.e. what its buttons set. A dialog no step takes, and a
// step left unused at the end, fail the test.
class ScriptedModal : public IModalRunner {
public:
    ScriptedModal() : m_vorher(SetModalRunner(this)) {}
    ~ScriptedModal() override {
        SetModalRunner(m_vorher);
        for (const Schritt& s : m_schritte)
            if (s.einmal && QTest::currentTestFunction() && !QTest::currentTestFailed())
                QTest::qFail(qPrintable(QStringLiteral("Dialog nicht geöffnet: ") + s.klasse),
                             __FILE__, __LINE__);
    }

    template <class F> ScriptedModal& einmal(F schritt) { return neu(std::move(schritt), true); }
    template <class F> ScriptedModal& immer(F schritt) { return neu(std::move(schritt), false); }

    int run(QDialog& dialog) override {
        gezeigt << QLatin1String(dialog.metaObject()->className());
        for (qsizetype i = 0; i < m_schritte.size(); ++i) {
            const Schritt s = m_schritte.at(i); // a step may add further steps
            if (!s.nimmt(dialog))
                continue;
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
        QString klasse;
        std::function<bool(QDialog&)> nimmt;
        std::function<int(QDialog&)> antwort;
        bool einmal;
    };
    template <class M> struct Argument;
    template <class C, class R, class A> struct Argument<R (C::*)(A&) const> { using Typ = A; };
    template <class C, class R, class A> struct Argument<R (C::*)(A&)> { using Typ = A; };

    template <class F> ScriptedModal& neu(F schritt, bool einmal) {
        using D = typename Argument<decltype(&F::operator())>::Typ;
        const auto antwort = [schritt](QDialog& d) mutable -> int {
            D& dlg = static_cast<D&>(d);
            if constexpr (std::is_void_v<std::invoke_result_t<F&, D&>>) {
                schritt(dlg);
                return dlg.result();
            } else {
                return schritt(dlg);
            }
        };
        m_schritte.append({QLatin1String(D::staticMetaObject.className()),
                           [](QDialog& d) { return qobject_cast<D*>(&d) != nullptr; }, antwort,
                           einmal});
        return *this;
    }

    IModalRunner* m_vorher;
    QList<Schritt> m_schritte;
};
