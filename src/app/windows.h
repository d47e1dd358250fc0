#pragma once

namespace zeilwerk {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// The four windows and the message window, filled in as main() creates them; each window
// keeps a reference, so the ones created later are reachable once they exist.
struct Windows {
    TForm1* input = nullptr;
    TForm2* options = nullptr;
    TForm3* preview = nullptr;
    TForm4* toolbar = nullptr;
    TForm5* messages = nullptr;  // not part of the arranged group
};

}  // namespace zeilwerk
