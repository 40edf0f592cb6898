// Puts the file names of a spool folder in the order they are printed.
#pragma once

#include <list>
#include <string>

// Sorts the texts in place by CompareText (ascending, byte-wise, only "A" to "Z" folded
// to lower case); texts that compare equal keep their order. False, and the list
// untouched, for an empty list.
bool SortStringList(std::list<std::string>& list);
