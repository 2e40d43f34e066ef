#include "app/Forms.h"
#include "platform/app.h"

int main(int argc, char** argv) {
    platform::Init(argc, argv);
    // The start object: loading the splash window runs the whole start-up.
    frmSplash.Get();
    platform::Run();
    return 0;
}
