// TmdiBrowser: the database browser child window, "BDE Database Browser".
// It lists the database aliases defined in the host's option store (the key
// "\Software\Quorvin\Aliases": one text value per alias, naming its database
// file), with the alias and its database side by side.
#pragma once

#include "app/mdi_child.h"

class QTreeWidget;

class TmdiBrowser : public TAbstractMDIChild {
    Q_OBJECT
public:
    explicit TmdiBrowser(IChildHost &host);

    int ChildKind() const override { return kChildBrowser; }
    // Reads the aliases again.
    void Refresh();

    QTreeWidget *lvAliases;
};
