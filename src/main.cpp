#include "app/StartUp.h"
#include "platform/app.h"
#include "platform/webkit/webkit_session.h"

int main(int argc, char** argv) {
    platform::Init(argc, argv);
    platform::webkit::StartEngine();
    if (!StartUp()) return 1;
    platform::Run();
    return 0;
}
