// The institution dialog's choice from the service's list: the list is requested once
// when the dialog opens; only a confirmed entry changes the three texts shown.
#pragma once

#include "net/institution_list.h"

#include <string>
#include <vector>

class WaitCursor;

struct InstitutionData {
    std::string id;
    std::string name;
    std::string abbreviation;

    bool operator==(const InstitutionData&) const = default;
};

// Where the service's scripts are: the web server, its port as typed, their folder.
struct ServiceAddress {
    std::string server;
    std::string port;
    std::string folder;
};

class InstitutionSelection {
public:
    explicit InstitutionSelection(InstitutionData current) : shown_(std::move(current)) {}

    // Requests the list under the wait cursor. A failure is told in a box and leaves the
    // list empty; the texts shown stay as they are either way.
    void Request(const ServiceAddress& address, WaitCursor& waitCursor);

    // The names of the selection list, in its order.
    std::vector<std::string> Names() const;
    // The entry selected after the request: the first whose name begins with the current
    // name (without regard to case), the first of all without a current name; -1 for none.
    int InitialSelection() const { return choices_.selected; }
    // The user settled on an entry: its ID, name and abbreviation are shown.
    void Confirm(int index);

    const InstitutionData& Shown() const { return shown_; }
    // The request found no list: the user types the institution by hand.
    bool ListFailed() const { return !choices_.received; }

private:
    InstitutionData shown_;
    InstitutionChoices choices_;
};
