#include "TVxUndoList.h"

void TVxUndoList::AddNew(TVxUndoRecord record)
{
    if (FSavedAt > Count())
        FSavedAt = -1;
    Add(std::move(record));
}

void TVxUndoList::Add(TVxUndoRecord record)
{
    FDataBytes += record.DataSize();
    FRecords.push_back(std::move(record));
}

void TVxUndoList::RemoveNewest()
{
    if (FRecords.empty())
        return;
    FDataBytes -= FRecords.back().DataSize();
    FRecords.pop_back();
}

void TVxUndoList::Clear()
{
    // Without a KeepUndo save the history's bytes are the saved ones exactly when it is
    // empty, so forgetting it forgets the changes too; after one, only the saved place is.
    FSavedAt = FSavedWithUndo && FSavedAt != Count() ? -1 : 0;
    FRecords.clear();
    FRecords.shrink_to_fit();
    FDataBytes = 0;
}

void TVxUndoList::MarkSaved(bool keepUndo)
{
    FSavedWithUndo = keepUndo;
    FSavedAt = Count();
}

void TVxUndoList::ResetSaveState()
{
    FSavedWithUndo = false;
    FSavedAt = Count();
}
