#include "TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    TestEnvironment environment;
    testing::InitGoogleTest(&argc, argv);
    return environment.Run();
}
