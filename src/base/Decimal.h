#pragma once
// Aritmética decimal pequena usada pelo arredondamento e pela SUM exata do SQLite.
#include <cstdint>
#include <string>

namespace Decimal {

// Texto decimal mais curto que reconstrói o double exatamente ("0.1", "1e-07" vira "0.0000001").
std::string TextoCurto(double v);
// Arredonda o valor escrito com 15 dígitos significativos (como o servidor converte double em
// numeric) a ACasas casas, meio para longe do zero; devolve o texto decimal.
std::string ArredondarTexto(double v, int ACasas);
// Texto de um número dentro de chaves de lista (alíquotas, quantidades): arredondado a ACasas
// casas e no texto decimal mais curto, sem sinal no zero. 1.6500000001 e 1.65 dão a mesma chave
// "1.65"; sem isso a mesma alíquota lida de duas fontes abriria dois registros.
std::string TextoChave(double v, int ACasas = 4);
// Converte texto decimal (ponto como separador) em double com arredondamento correto.
double TextoParaDouble(const std::string& texto);

// Acumulador exato: mantissa inteira de 128 bits e expoente decimal. Quando a soma sai da
// faixa, cai para long double (Exato() passa a ser false).
class TAcumulador {
  // Sem construtor próprio: memória zerada é um acumulador vazio.
 public:
  void Somar(double v);
  void SomarInteiro(int64_t v);
  double Resultado() const;
  bool Exato() const { return !FInexato; }

 private:
  void Reescalar(int novoExpoente);
  __int128 FMantissa = 0;
  int FExpoente = 0;
  bool FInexato = false;  // zerado = estado inicial válido (memória de agregado do SQLite)
  long double FAproximado = 0;
};

}  // namespace Decimal
