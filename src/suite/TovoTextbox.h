#pragma once

#include <QLineEdit>

// The suite's checking text box: accepts only the characters of its check set (anything else is
// swallowed with a beep) and hands out its content as a typed value.
class TovoTextbox : public QLineEdit {
    Q_OBJECT
public:
    enum class Art {
        Text,   // any text except the characters " and '
        Datum,  // "0123456789."  -- the empty date is 31.12.9999
        Zeit,   // "0123456789:"
        Zahl,   // "0123456789"
        Geld,   // "+-0123456789" (and ","/"." as separators), format "##,##0.00"
        Dezimal // "0123456789" (and ","), format "##0.00"
    };

    explicit TovoTextbox(QWidget* parent = nullptr, Art art = Art::Text);

    Art art() const { return m_art; }
    void setArt(Art art);
    // The characters a user may type; empty = any (Text still refuses " and ').
    QString CheckSet() const { return m_checkSet; }

    // True when the text is a valid value of the box's kind (an empty date box counts as valid).
    bool IsValid() const;
    // The typed value: a day number for dates (31.12.9999 when empty or invalid), a fraction of a
    // day for times (0 when invalid), the number for numbers and money (0 when empty).
    double Value() const;
    // Shows a value in the box's format: dates "dd.MM.yyyy" (31.12.9999 shows empty), times
    // "hh:mm", money "##,##0.00", decimals "##0.00", numbers as whole numbers.
    void SetValue(double value);
    // The display format of money and decimal boxes.
    static QString FormatGeld(double value);    // "1.234,50"
    static QString FormatDezimal(double value); // "2,00"

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void insertFromPaste();

private:
    bool accepts(QChar c) const;
    // Reads the text as a value of the box's kind; false when it is none.
    bool parse(double& out) const;
    // The text without the characters the box refuses; `refused` tells whether any were dropped.
    QString filtered(const QString& text, bool& refused) const;
    Art m_art;
    QString m_checkSet;
};
