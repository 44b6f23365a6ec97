#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace scorvane::designer {

// The names of a list of the document (lines or labels) as a list model for a combo box. The names
// stay in the document; reset() tells the views that they changed.
class NameListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    NameListModel(const std::vector<std::string>& names, QObject* parent = nullptr)
        : QAbstractListModel(parent), names_(names) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void reset();

  private:
    const std::vector<std::string>& names_;
};

}  // namespace scorvane::designer
