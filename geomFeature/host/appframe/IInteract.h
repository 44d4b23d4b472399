#pragma once

namespace Norvane {

// Receiver of the drawing view's input: mouse buttons and moves at a world point, and keys.
//
// Points are world coordinates (drawing units) passed by reference, so that a receiver may hand an adjusted
// point on. Keys arrive as character codes (see InputKey.h for the codes of the non-printing keys) with the
// repeat count and the host's flags. Every handler answers an int; what it means is the receiver's.
// The order of the virtual operations is fixed.
class IInteract {
public:
    virtual ~IInteract() = default;

    virtual int LButtonDown(double& x, double& y) = 0;
    virtual int LButtonUp(double& x, double& y) = 0;
    virtual int LButtonDBClk(double& x, double& y) = 0;
    virtual int RButtonUp(double& x, double& y) = 0;
    virtual int MovePoint(double& x, double& y) = 0;
    virtual int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) = 0;
    virtual int OnKeyUp(unsigned int ch, unsigned int repeatCount, unsigned int flags) = 0;
};

}  // namespace Norvane
