// The main window's controls as data: number, kind, page, place, size, text.
// The window is built by walking this table in order, which is also the
// keyboard focus order.
#pragma once

enum class ControlKind {
    GroupBox,
    TabPanel,
    List,
    Label,
    PathField,
    Button,
    ImageButton,
    OptionButton,
    CheckBox,
    DropDown,
};

enum class TextAlign { Left, Centre };

// Page of a control: on the window itself, or on one of the three tab pages.
constexpr int OnWindow = -1;

struct ControlLayout {
    int id;
    ControlKind kind;
    int page;
    int x, y, w, h;
    const char* text;
    TextAlign align;
    int imageSlot;      // image buttons only
    bool startsGroup;   // first member of an option group, or first after one
};

struct ColumnLayout {
    int list;
    const char* header;
    int width;
};

struct TabLayout {
    const char* caption;
    int imageSlot;
};

constexpr int MainClientWidth = 865;
constexpr int MainClientHeight = 655;
constexpr int TabCount = 3;

extern const ControlLayout MainWindowControls[];
extern const int MainWindowControlCount;
extern const ColumnLayout ListColumns[];
extern const int ListColumnCount;
extern const TabLayout Tabs[TabCount];

// Lists, labels and path fields are grey; every control that shows text
// except the tab captions gets the window font.
bool KindIsGrey(ControlKind kind);
bool KindTakesFont(ControlKind kind);
