#include "app/FormState.h"

QDateTime zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}
