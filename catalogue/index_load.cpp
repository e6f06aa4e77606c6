#include "catalogue/index_load.h"

#include <iterator>

#include "catalogue/catalogue.h"
#include "catalogue/index_table.h"
#include "catalogue/source_scan.h"
#include "catalogue/user_rows_file.h"
#include "model/app_state.h"
#include "file_acts/folder_tree.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/status_list.h"

void LoadIndex(AppState& app)
{
    app.IndexList.clear();
    app.Settings.LastIndex = CtlGetText(ComboIndex);
    const IndexInfo* index = FindIndex(app.Settings.LastIndex);
    if (!index)
        return;

    for (const char* row = CatalogueFirstRow(index->name); !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
        app.IndexList.push_back(SplitCatalogueRow(row));
    ReportActivity(index->loadedLine);
    const std::string& source = app.Settings.*index->source;
    const std::string& target = app.Settings.*index->target;
    // The user's own rows follow the compiled-in ones and are read afresh at
    // every load, so an edit of their file counts from the next load on.
    // Their "-" rows take compiled-in rows out of the list.
    UserRows user = UserRowsLoad(app.UserRowsFilePath, index->name, target, &app.IndexList);
    app.IndexList.insert(app.IndexList.end(), std::make_move_iterator(user.rows.begin()),
                         std::make_move_iterator(user.rows.end()));
    for (const UserRowsLine& line : user.lines)
        ReportActivity(line.key, line.detail);

    app.ActiveSource = source;
    app.ActiveTarget = target;
    CtlSetText(FieldActiveSource, source);
    CtlSetText(FieldActiveTarget, target);
    CtlSetText(index->sourceField, source);
    CtlSetText(index->targetField, target);

    // An existing folder, an empty path and a failure all pass silently: a
    // target that could not be made shows up when the sort places into it.
    CreateFolderTree(target);
    FetchFiles(app);
}
