// Stands in for running the program in the benchmark's second yardstick:
// writes the converter's first screen through the same terminal, then waits.
function createDalemira(module) {
  var rule = '='.repeat(45) + '\n';
  module.pty.write('Program Dalemira \n' + rule +
      'A = Celsius ke Reamur, Fahrenheit, Kelvin\n' +
      'B = Reamur ke Celsius, Fahrenheit, Kelvin\n' +
      'C = Fahrenheit ke Celsius, Reamur, Kelvin\n' +
      'D = Kelvin ke Celsius, Reamur, Fahrenheit\n' + rule + '\n' +
      'Masukkan Pilihan : ');
}
