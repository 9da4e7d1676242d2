// orvel: oil and HNS spill forecast.  Usage: orvel KEY
#include <exception>
#include <iostream>

#include "common/errors.hpp"
#include "app/startup.hpp"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  try {
    orvel::main_program(orvel::run_key(argc, argv));
  } catch (const orvel::input_error& e) {
    std::cout.flush();
    std::cerr << "orvel: error: " << e.what() << '\n';
    return 2;
  } catch (const orvel::run_stop& e) {
    std::cout.flush();
    (e.where() == orvel::run_stop::stream::out ? std::cout : std::cerr) << e.what() << '\n';
    std::cout.flush();
    return e.status();
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "orvel: error: " << e.what() << '\n';
    return 1;
  }
  std::cout.flush();
  return 0;
}
