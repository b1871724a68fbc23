#include "app/PackListModel.h"

#include <QTextDocument>

#include <algorithm>

namespace app {

namespace {

QString wordsOf(session::PackMark mark) {
    switch (mark) {
    case session::PackMark::UpToDate:
        return QStringLiteral("up to date");
    case session::PackMark::OutOfDate:
        return QStringLiteral("out of date");
    case session::PackMark::DateInvalid:
        return QStringLiteral("date invalid");
    case session::PackMark::None:
        break;
    }
    return {};
}

} // namespace

QString toolTipOf(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

void PackListModel::setEntries(const QStringList& entries) {
    beginResetModel();
    entries_ = entries;
    marks_.clear();
    entrySize_ = {};
    endResetModel();
}

void PackListModel::setMarks(const QList<session::PackMark>& marks, const std::array<QPixmap, 4>& pictures) {
    marks_ = marks;
    if (std::all_of(marks_.cbegin(), marks_.cend(),
                    [](session::PackMark mark) { return mark == session::PackMark::None; }))
        marks_.clear();
    pictures_ = pictures;
    if (!entries_.isEmpty())
        emit dataChanged(index(0), index(rowCount() - 1));
}

QModelIndex PackListModel::longest() const {
    const auto found = std::max_element(entries_.cbegin(), entries_.cend(),
                                        [](const QString& a, const QString& b) { return a.size() < b.size(); });
    return found == entries_.cend() ? QModelIndex() : index(static_cast<int>(found - entries_.cbegin()));
}

void PackListModel::setEntrySize(QSize size) {
    entrySize_ = size;
}

int PackListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant PackListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return entries_.at(index.row());
    case Qt::ToolTipRole:
        return toolTipOf(described(index.row()));
    case Qt::AccessibleDescriptionRole:
        return described(index.row());
    case Qt::DecorationRole:
        if (marks_.isEmpty())
            return {};
        return pictures_.at(static_cast<std::size_t>(marks_.value(index.row(), session::PackMark::None)));
    case Qt::SizeHintRole:
        return entrySize_.isValid() ? QVariant(entrySize_) : QVariant();
    default:
        return {};
    }
}

QString PackListModel::described(int row) const {
    const QString mark = wordsOf(marks_.value(row, session::PackMark::None));
    return mark.isEmpty() ? entries_.at(row) : entries_.at(row) + QLatin1Char('\n') + mark;
}

} // namespace app
