#pragma once
// The interface selection's chooser on Qt: runs the connection selection
// dialog modally over the owner window. Without an application object no
// dialog can show, and the choice counts as cancelled.

#include "platform/bus/ConnectionChooser.h"

class CQtConnectionChooser : public Falcon::IConnectionChooser {
public:
    bool ChooseConnection(Falcon::ConnectionChoice& choice) override;
};
