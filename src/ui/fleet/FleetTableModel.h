#pragma once

#include "fleet/FleetRow.h"
#include "ui/common/ColumnTableModel.h"

namespace nkp::ui {

// The rows of the fleet overview on its columns (fleet/FleetColumns.h), with
// the colours of resource shares and of read-outs with a remark, and the
// remark as every cell's hint.
class FleetTableModel : public TableModel<fleet::FleetRow> {
public:
    explicit FleetTableModel(QObject* parent = nullptr);
};

}  // namespace nkp::ui
