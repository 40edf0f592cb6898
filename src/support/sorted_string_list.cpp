#include "support/sorted_string_list.h"

#include "support/collection.h"
#include "support/sorted_view.h"

bool SortStringList(std::list<std::string>& list)
{
    if (list.empty())
        return false;
    std::shared_ptr<Collection> texts = Collection::Create("str");
    for (const std::string& text : list)
        texts->Append(text);
    SortedView view(texts);
    list.clear();
    for (std::size_t i = 0; i < view.Size(); ++i)
        list.push_back(texts->At(view.SourcePosition(i)));
    return true;
}
