// A fetched document waiting for the outcome of its deletion at the source, under a name
// that no print pass takes.
#pragma once

#include <string>
#include <vector>

struct HeldCopy {
    std::string path;
    std::string name;  // the document's name
};

// The held copies of one spool folder fed by one source folder: "<name>.<folder tag>.held".
// A name that leaves no room for that suffix is held as "<stand-in>.<folder tag>.held" and
// written into "<stand-in>.<folder tag>.name" beside it, so the name survives a restart.
class HeldCopies {
public:
    HeldCopies(const std::string& destination, const std::string& sourceFolder);

    std::string PathOf(const std::string& name) const;
    // Moves the fetched file to the held path of the name; false when it could not be
    // done, and the fetched file is then where it was.
    bool Hold(const std::string& fetched, const std::string& name) const;
    // Gives the held copy the document's name or the next free one; false when it
    // could not, and the copy stays held.
    bool Release(const HeldCopy& copy) const;
    void Drop(const HeldCopy& copy) const;
    // The copies a folder holds, and nothing of a name file whose copy is gone.
    std::vector<HeldCopy> Waiting() const;

private:
    bool Standing(const std::string& name) const;
    std::string NamePathOf(const std::string& heldPath) const;

    const std::string destination_;
    const std::string suffix_;
    const std::string nameSuffix_;
};
