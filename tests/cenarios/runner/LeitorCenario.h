#pragma once
// Leitura de um arquivo de cenário (tests/cenarios/**/*.cenario): do texto à estrutura, sem banco.
// Função pura para que o executor, os testes e um alvo de fuzz usem o mesmo leitor.
//
// Formato:
//   # nome: identificador-do-cenario
//   # descricao: o que o cenário prova (pode repetir; as linhas se juntam)
//   dados
//   INSERT INTO ... ;            (cada comando SQL termina numa linha que acaba em ';')
//   comando blocom --empresa 11 --competencia 2024-01
//   ----
//   linhas esperadas na saída padrão, até uma linha vazia ou o fim do arquivo
//   erro blocom --empresa 99 --competencia 2024-01
//   ----
//   linhas esperadas na saída de erro (código de saída 1)
// Fora dos blocos, linhas em branco e linhas começadas por '#' são ignoradas. O executor
// acrescenta "--db CONEXAO" logo depois do subcomando; o cenário nunca escreve --db.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Arquivo de cenário malformado: a mensagem começa por "ARQUIVO:LINHA: ".
class ECenarioInvalido : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TComandoSQLCenario {
  int Linha = 0;  // linha em que o comando começa
  std::string Texto;
};

struct TPassoCenario {
  enum class TTipo { tpDados, tpComando };
  TTipo Tipo = TTipo::tpDados;
  int Linha = 0;
  // tpDados
  std::vector<TComandoSQLCenario> SQL;
  // tpComando
  std::vector<std::string> Argumentos;  // sem o nome do programa: {"blocom", "--empresa", ...}
  bool EsperaErro = false;              // "erro": código 1 e as linhas comparadas com o stderr
  int LinhaEsperado = 0;                // primeira linha esperada (a seguinte ao "----")
  std::vector<std::string> Esperado;
};

struct TCenario {
  std::string Arquivo;
  std::string Nome;
  std::string Descricao;
  std::vector<TPassoCenario> Passos;
};

// Lê o texto de um cenário; AArquivo só entra nas mensagens. Lança ECenarioInvalido.
TCenario LerCenario(const std::string& AArquivo, std::string_view ATexto);

// Separa os argumentos de uma linha de comando: espaços separam, aspas duplas agrupam.
// Lança std::invalid_argument para aspas sem fechamento.
std::vector<std::string> SepararArgumentos(std::string_view ALinha);
