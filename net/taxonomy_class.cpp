#include "net/taxonomy_class.h"

CTaxCl::CTaxCl(const CString &className, CTaxRoot *rootClass, CTaxCl *parentClass)
    : name(className), root(rootClass), parent(parentClass) {}

CTaxRoot::CTaxRoot(const CString &taxonomyName, uint8_t type)
    : CTaxCl(taxonomyName, this, nullptr), taxonomyType(type) {}
