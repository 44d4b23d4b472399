#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

namespace Norvane {

// Where an editor shows what it expects from the user: a status bar or command line in a window, a
// recorder in tests.
class IOutputBar {
public:
    virtual ~IOutputBar() = default;
    // The current action's prompt (string resource numbers, 0 for none) and the text typed so far.
    virtual void ShowPrompt(int promptID, int secondID, const std::wstring& typedText) = 0;
};

using IOutputBarPtr = boost::shared_ptr<IOutputBar>;

}  // namespace Norvane
