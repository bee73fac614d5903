#include "app/MarkvaneApp.h"

int main(int argc, char** argv) {
    return markvane::MarkvaneApp::run(argc, argv);
}
