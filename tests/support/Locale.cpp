#include <QLocale>

// Every test reads dates as a member in Britain does, whatever the machine's own settings say.
static const bool kBritishDates = [] {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    return true;
}();
