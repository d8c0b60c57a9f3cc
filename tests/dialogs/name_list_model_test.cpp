// The result list's model answers the index of a row itself (its view asks for every row at each
// layout): an index exists for its own rows only, and stands for the line at that row.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/name_list_model.h"

namespace vh::ui {
namespace {

TEST(NameListModel, IndexesExistForItsRowsOnly) {
    const auto table = std::make_shared<db::Names>(db::Names{"Berg, Tomas (7)", "Smith (8)"});
    NameListModel m;
    m.SetLines({&(*table)[0], &(*table)[1]}, {table});
    EXPECT_EQ(m.data(m.index(1), Qt::DisplayRole).toString(), "Smith (8)");
    EXPECT_EQ(m.index(0).row(), 0);
    for (const QModelIndex& outside :
         {m.index(-1), m.index(2), m.index(0, 1), m.index(0, 0, m.index(0))})
        EXPECT_FALSE(outside.isValid());
    m.Clear();
    EXPECT_FALSE(m.index(0).isValid());
}

}  // namespace
}  // namespace vh::ui
