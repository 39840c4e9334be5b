// The least a C++ console program costs: start, write one line through
// std::cout, end.
#include <iostream>

int main()
{
    std::cout << "Program Dalemira " << std::endl;
}
