#include "TVxUndoList.h"

void TVxUndoList::Add(TVxUndoRecord record)
{
    FDataBytes += record.DataSize();
    FRecords.push_back(std::move(record));
    NoteChange();
}

void TVxUndoList::RemoveNewest()
{
    if (FRecords.empty())
        return;
    FDataBytes -= FRecords.back().DataSize();
    FRecords.pop_back();
    NoteChange();
}

void TVxUndoList::Clear()
{
    FRecords.clear();
    FRecords.shrink_to_fit();
    FDataBytes = 0;
}

void TVxUndoList::MarkSaved(bool keepUndo)
{
    FSavedWithUndo = keepUndo;
    FChangedAfterSave = false;
}

void TVxUndoList::ResetSaveState()
{
    FSavedWithUndo = false;
    FChangedAfterSave = false;
}

void TVxUndoList::NoteChange()
{
    if (FSavedWithUndo)
        FChangedAfterSave = true;
}
