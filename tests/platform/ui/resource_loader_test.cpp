// The panel resource parser: ids, every kind of control, and the errors that name the place.

#include "platform/ui/resource_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

class LoaderTest : public ::testing::Test {
  protected:
    LoaderTest() {
        registry.AddControl("evOk", [](int, int, int, void*, int, int) { return 0; });
        registry.AddPanel("evPanel", [](int, int, void*, int, int) { return 0; });
        registry.AddMenu("evItem", [](int, int, void*, int) { return 0; });
    }
    // Parses one panel "P" and returns the result code; the error text lands in `error`.
    int Parse(const std::string& text) {
        return ui::ParsePanelText(text, "G9.json", "P", registry, &out, &error);
    }
    ui::CallbackRegistry registry;
    ui::LoadedPanels out;
    std::string error;
};

// Panel "P" with the given controls, as most cases need no more.
std::string WithControls(const std::string& controls) {
    return R"({"panels":[{"name":"P","controls":[)" + controls + "]}]}";
}
const std::string kAt = "G9.json: panels[0] \"P\" > ";  // where every control error starts

TEST_F(LoaderTest, NumbersControlsAndMenusAroundGivenIdsAndReadsEveryKind) {
    ASSERT_EQ(Parse(R"({"panels":[{"name":"P","controls":[
        {"kind":"numeric","name":"A"},
        {"kind":"ring","id":2,"name":"B","items":["x",{"label":"y","value":7}],"index":1},
        {"kind":"real","name":"C","value":2.5,"precision":2,"bg_color":"#FF0000"},
        {"kind":"timer","name":"T","interval":0.25,"enabled":true},
        {"kind":"tab","name":"TAB","active_page":1,"pages":[
            {"name":"A","controls":[{"kind":"numeric"}]},
            {"name":"B","controls":[{"kind":"tab","pages":[{"name":"C"}]}]}]}],
      "menubar":{"menus":[
        {"name":"F","items":[{"name":"X","id":1,"callback":"evItem"},{"name":"Y"}]},
        {"name":"ABOUT","callback":"evItem"}]}}]})"),
              0)
        << error;
    ASSERT_EQ(out.panels.size(), 4u);  // tab pages follow their panel
    const auto& c = out.panels[0].controls;
    ASSERT_EQ(c.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(c[i].id, i + 1);
    // A plain label takes its position as value.
    EXPECT_EQ(std::tie(c[1].items[0].value, c[1].items[1].value, c[1].index),
              std::make_tuple(0, 7, 1));
    EXPECT_EQ(std::tie(c[2].number, c[2].textBgColor), std::make_tuple(2.5, 0xFF0000));
    EXPECT_EQ(std::tie(c[3].enabled, c[3].interval), std::make_tuple(true, 0.25));
    EXPECT_EQ(std::tie(c[4].pages, c[4].activePage), std::make_tuple(std::vector<int>{1, 2}, 1));
    EXPECT_EQ(std::tie(out.panels[1].parent, out.panels[1].pageIndex, out.panels[2].pageIndex,
                       out.panels[3].parent),
              std::make_tuple(0, 0, 1, 2));
    // Menus and items share one id space.
    const auto& m = out.menuBar.menus;
    EXPECT_EQ(std::tie(m[0].items[0].id, m[0].id, m[0].items[1].id, m[1].id),
              std::make_tuple(1, 2, 3, 4));
}

// A broken resource is refused with its code and a text that names the file and the place.
TEST_F(LoaderTest, ABrokenResourceNamesTheFileAndThePlace) {
    struct Case {
        std::string json;
        int code;
        std::string message;  // the whole error text
    };
    std::vector<Case> cases = {
        {"{\"panels\": [\n  {\"name\": \"P\",, }]}", ui::UIE_RESOURCE,
         "G9.json:2:16: JSON syntax error: syntax error while parsing object key - unexpected ','; "
         "expected string literal"},
        {R"({"panel":[]})", ui::UIE_RESOURCE,
         "G9.json: the top level must be an object with a \"panels\" array"},
        {R"({"panels":[{"name":"Q"}]})", ui::UIE_RESOURCE, "G9.json: no panel named \"P\""},
        {WithControls(
             R"({"kind":"numeric"},{"kind":"command","name":"READ","callback":"evReadx"})"),
         ui::UIE_UNKNOWN_CALLBACK,
         kAt + "controls[1] \"READ\": unknown control callback \"evReadx\""},
        {R"({"panels":[{"name":"P","callback":"evOk"}]})", ui::UIE_UNKNOWN_CALLBACK,
         "G9.json: panels[0] \"P\": unknown panel callback \"evOk\""},
        {R"({"panels":[{"name":"P","menubar":{"menus":[{"name":"F","items":[{"name":"X","callback":"evNo"}]}]}}]})",
         ui::UIE_UNKNOWN_CALLBACK,
         kAt + "menubar > menus[0] \"F\" > items[0] \"X\": unknown menu callback \"evNo\""},
        // Out of a double's range: an error, not an exception out of the loader.
        {WithControls(R"({"kind":"chart","window":1e999})"), ui::UIE_RESOURCE,
         "G9.json: JSON error: number overflow parsing '1e999'"},
    };
    // Controls the loader refuses, and what the error says after the panel's place.
    const std::pair<const char*, const char*> badControls[] = {
        {R"({"kind":"numeric","callbak":"evOk"})", "controls[0]: unknown key \"callbak\""},
        {R"({"kind":"knob"})", "controls[0]: unknown kind \"knob\""},
        {R"({"kind":"numeric","width":"wide"})", "controls[0]: \"width\" must be an integer"},
        {R"({"kind":"numeric","id":3},{"kind":"led","id":3})",
         "controls[1]: duplicate control id 3"},
        {R"({"kind":"numeric","name":"A"},{"kind":"led","name":"A"})",
         "controls[1] \"A\": duplicate control name \"A\""},
        {R"({"kind":"ring","items":["a"],"index":1})",
         "controls[0]: \"index\" is not one of the items"},
        {R"({"kind":"string","value":3})", "controls[0]: \"value\" must be a text"},
        {R"({"kind":"tab"})", "controls[0]: a tab control needs \"pages\""},
        {R"({"kind":"tab","name":"T","pages":[{"name":"A","controls":[{"kind":"numeric","id":0}]}]})",
         "controls[0] \"T\" > pages[0] \"A\" > controls[0]: \"id\" must be positive"},
        {R"({"kind":"numeric","text_color":"red"})",
         "controls[0]: \"text_color\" must be an RGB colour such as \"#FF0000\""},
        {R"({"kind":"table","rows":["a"],"columns":["b"],"cells":[[1,2]]})",
         "controls[0] > cells[0]: too many cells or not an array"},
        {R"({"kind":"timer","interval":0})", "controls[0]: \"interval\" must be above 0"},
        {R"({"kind":"chart","name":"T","window":0})",
         "controls[0] \"T\": \"window\" must be above 0 seconds"},
        {R"({"kind":"chart","window":"10 min"})", "controls[0]: \"window\" must be a number"},
        {R"({"kind":"chart","capacity":0})", "controls[0]: \"capacity\" must be 1..1000000"},
        {R"({"kind":"chart","capacity":1000001})", "controls[0]: \"capacity\" must be 1..1000000"},
        // 2^32 + 1 would wrap into 1, a capacity that passes.
        {R"({"kind":"chart","capacity":4294967297})", "controls[0]: \"capacity\" is out of range"},
        {R"({"kind":"chart","capacity":100.5})", "controls[0]: \"capacity\" must be an integer"},
        {R"({"kind":"numeric","window":60})",
         "controls[0]: \"window\" and \"capacity\" belong to charts"},
        {R"({"kind":"chart","value":1})", "controls[0]: a chart control has no \"value\""},
        {R"({"kind":"chart","precision":16})", "controls[0]: \"precision\" must be 0..15"},
        {R"({"kind":"numeric","id":-4294967295})", "controls[0]: \"id\" is out of range"},
        {R"({"kind":"led","value":4294967297})", "controls[0]: \"value\" must be 0 or 1"},
    };
    for (const auto& [controls, what] : badControls)
        cases.push_back({WithControls(controls), ui::UIE_RESOURCE, kAt + what});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        out = {};
        error.clear();
        EXPECT_EQ(Parse(c.json), c.code);
        EXPECT_EQ(error, c.message);
    }
}

TEST_F(LoaderTest, AChartReadsItsAttributesAndABigCellKeepsItsValue) {
    ASSERT_EQ(Parse(WithControls(R"(
        {"kind":"chart","label":"Level","window":0.5,"capacity":1,"precision":3},
        {"kind":"table","rows":["a"],"columns":["b","c"],"cells":[[4294967297,-7]]})")),
              0)
        << error;
    const auto& c = out.panels[0].controls;
    EXPECT_EQ(std::tie(c[0].kind, c[0].window, c[0].capacity, c[0].precision),
              std::make_tuple(ui::Kind::Chart, 0.5, 1, 3));
    // Too large for an int: the cell keeps the number as a real one instead of wrapping to 1.
    EXPECT_EQ(std::get<double>(c[1].cells[0][0]), 4294967297.0);
    EXPECT_EQ(std::get<int>(c[1].cells[0][1]), -7);
}

}  // namespace
