#pragma once

#include <QWidget>
#include <QtTest>

// Types a text key by key. QTest::keyClicks handles ASCII only; umlauts and other characters go
// as key events carrying their text, as a keyboard layout would send them.
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }
}
