#include "sceneward/script/edit_parameters.h"

const EditParameters kDefaultEditParameters = {
    nullptr,                                                    // title
    nullptr,                                                    // source
    nullptr,                                                    // dest
    nullptr,                                                    // folder
    {2147483647, -2147483647 - 1, -2147483647 - 1, 134217727},  // bounds: west, north, east, south
    {},                                                         // kill areas
    0,                                                          // kill area count
    0,                                                          // remove
    5000,                                                       // cache
    kTypeLocal,                                                 // type
    1,                                                          // active flag
    1,                                                          // b flag
    0,                                                          // clean
    0,                                                          // update
};

void ResetEditParameters(EditParameters& edit) {
  edit = kDefaultEditParameters;
}

void ForgetScriptTexts(EditParameters& edit) {
  edit.title = edit.source = edit.dest = nullptr;
}
