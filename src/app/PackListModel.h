#pragma once

#include "session/Ports.h"

#include <QAbstractListModel>
#include <QPixmap>
#include <QSize>

#include <array>

namespace app {

// A tooltip that shows text as it is: a name holding "<" is never taken for markup.
QString toolTipOf(const QString& text);

// The skinpack list's entries, each with the mark the last Check Packs left on it. Each entry's full text, and its
// mark's words, are its tooltip and its accessible description, so an entry wider than the list can still be read.
class PackListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Replaces the entries, unmarked.
    void setEntries(const QStringList& entries);
    // One mark for each entry, each drawn with its picture; once any entry is marked, an unmarked one shows the
    // picture of no mark, so every entry's text still starts in the same column.
    void setMarks(const QList<session::PackMark>& marks, const std::array<QPixmap, 4>& pictures);
    // The entry of most characters, which in the list's fixed-pitch font is the widest.
    QModelIndex longest() const;
    // The size of every entry, which a list of entries of one size takes from its last: the widest entry's, so the
    // list scrolls to the end of each; none to let the list measure.
    void setEntrySize(QSize size);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QString described(int row) const;

    QStringList entries_;
    QList<session::PackMark> marks_;
    std::array<QPixmap, 4> pictures_; // by mark
    QSize entrySize_;
};

} // namespace app
