// Taxonomy classes: trees of classes, each holding a set of member nodes.
//
// A hypothesis taxonomy restricts the goals of a consultation to the classes
// the user picks; a hidden taxonomy spreads definite answers along its tree.
// The net owns every class; a root (CTaxRoot) is the class at the top of one
// tree and carries the taxonomy's type.
#pragma once

#include <cstdint>

#include "foundation/cstring.h"
#include "net/node_collections.h"

class CTaxCl {
public:
    CTaxCl(const CString &className, CTaxRoot *rootClass, CTaxCl *parentClass);
    // Destroys only the class itself: the net deletes every class of its
    // trees one by one, so a taxonomy nested a million deep is no deeper to
    // destroy than a flat one.
    virtual ~CTaxCl() = default;
    CTaxCl(const CTaxCl &) = delete;
    CTaxCl &operator=(const CTaxCl &) = delete;

    CString name;
    CNodeArray members;      // in the order added; non-owning
    CTaxRoot *root;          // the root of the class's tree
    CTaxCl *parent;          // null for a root
    CTaxClArray subclasses;  // in the order added; non-owning
};

class CTaxRoot : public CTaxCl {
public:
    // Values of `taxonomyType`.
    static constexpr uint8_t kHypothesis = 0;
    static constexpr uint8_t kHiddenBoth = 1;
    static constexpr uint8_t kHiddenNo = 2;
    static constexpr uint8_t kHiddenYes = 3;

    CTaxRoot(const CString &taxonomyName, uint8_t type);

    // True when a definite no spreads down this taxonomy's trees.
    bool SpreadsNo() const { return taxonomyType == kHiddenBoth || taxonomyType == kHiddenNo; }
    // True when a definite yes spreads up this taxonomy's trees.
    bool SpreadsYes() const { return taxonomyType == kHiddenBoth || taxonomyType == kHiddenYes; }

    uint8_t taxonomyType;
};
