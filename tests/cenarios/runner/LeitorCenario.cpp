#include "cenarios/runner/LeitorCenario.h"

#include <algorithm>

namespace {

std::string_view Aparar(std::string_view s) {
  const auto ini = s.find_first_not_of(" \t\r");
  if (ini == std::string_view::npos) return {};
  const auto fim = s.find_last_not_of(" \t\r");
  return s.substr(ini, fim - ini + 1);
}

bool ComecaCom(std::string_view s, std::string_view prefixo) { return s.substr(0, prefixo.size()) == prefixo; }

// Primeira palavra da linha e o resto, aparados.
std::pair<std::string_view, std::string_view> Palavra(std::string_view s) {
  const auto fim = s.find_first_of(" \t");
  if (fim == std::string_view::npos) return {s, {}};
  return {s.substr(0, fim), Aparar(s.substr(fim))};
}

class TLeitor {
 public:
  TLeitor(const std::string& AArquivo, std::string_view ATexto) : FArquivo(AArquivo) {
    // Linhas sem o '\r' final: um cenário salvo com CR LF lê igual.
    size_t ini = 0;
    while (ini <= ATexto.size()) {
      const auto fim = ATexto.find('\n', ini);
      std::string_view l = ATexto.substr(ini, fim == std::string_view::npos ? std::string_view::npos : fim - ini);
      if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
      FLinhas.push_back(l);
      if (fim == std::string_view::npos) break;
      ini = fim + 1;
    }
    if (FLinhas.size() > 1 && FLinhas.back().empty()) FLinhas.pop_back();  // o '\n' final não abre linha
  }

  TCenario Ler() {
    TCenario c;
    c.Arquivo = FArquivo;
    while (FPos < FLinhas.size()) {
      const std::string_view l = Aparar(FLinhas[FPos]);
      const int linha = static_cast<int>(FPos) + 1;
      if (l.empty()) {
        ++FPos;
      } else if (l[0] == '#') {
        Cabecalho(c, l, linha);
        ++FPos;
      } else if (l == "dados") {
        ++FPos;
        c.Passos.push_back(Dados(linha));
      } else if (const auto [p, resto] = Palavra(l); p == "comando" || p == "erro") {
        ++FPos;
        c.Passos.push_back(Comando(p == "erro", resto, linha));
      } else {
        Falhar(linha, "linha fora de um bloco (esperado \"dados\", \"comando\", \"erro\" ou comentário \"#\"): " +
                          std::string(l));
      }
    }
    if (c.Nome.empty()) Falhar(1, "falta o cabeçalho \"# nome: ...\"");
    if (c.Descricao.empty()) Falhar(1, "falta o cabeçalho \"# descricao: ...\"");
    if (std::none_of(c.Passos.begin(), c.Passos.end(),
                     [](const TPassoCenario& p) { return p.Tipo == TPassoCenario::TTipo::tpComando; }))
      Falhar(static_cast<int>(FLinhas.size()), "o cenário não tem nenhum \"comando\" nem \"erro\"");
    return c;
  }

 private:
  [[noreturn]] void Falhar(int ALinha, const std::string& AMensagem) const {
    throw ECenarioInvalido(FArquivo + ":" + std::to_string(ALinha) + ": " + AMensagem);
  }

  void Cabecalho(TCenario& c, std::string_view l, int linha) {
    const std::string_view corpo = Aparar(l.substr(1));
    for (const std::string_view chave : {"nome:", "descricao:"}) {
      if (!ComecaCom(corpo, chave)) continue;
      const std::string valor(Aparar(corpo.substr(chave.size())));
      if (valor.empty()) Falhar(linha, "cabeçalho \"" + std::string(chave) + "\" vazio");
      if (chave == "nome:") {
        if (!c.Nome.empty()) Falhar(linha, "\"# nome:\" repetido");
        if (valor.find_first_of(" \t/") != std::string::npos)
          Falhar(linha, "o nome do cenário não pode ter espaços nem '/': " + valor);
        c.Nome = valor;
      } else {
        c.Descricao += (c.Descricao.empty() ? "" : " ") + valor;
      }
      return;
    }
    // Qualquer outro '#' é comentário livre.
  }

  TPassoCenario Dados(int ALinha) {
    TPassoCenario p;
    p.Tipo = TPassoCenario::TTipo::tpDados;
    p.Linha = ALinha;
    TComandoSQLCenario atual;
    for (; FPos < FLinhas.size(); ++FPos) {
      const std::string_view l = Aparar(FLinhas[FPos]);
      const int linha = static_cast<int>(FPos) + 1;
      if (atual.Texto.empty()) {
        // Entre comandos SQL, linhas vazias não contam; uma palavra-chave do cenário fecha o bloco.
        if (l.empty()) continue;
        if (l == "dados" || l == "----" || ComecaCom(l, "comando ") || l == "comando" || ComecaCom(l, "erro ") ||
            l == "erro")
          break;
        if (ComecaCom(l, "--") || l[0] == '#') continue;  // comentário
        atual.Linha = linha;
      } else if (l.empty() || l == "----") {
        Falhar(atual.Linha, "comando SQL sem ';' no fim");
      }
      atual.Texto += (atual.Texto.empty() ? "" : "\n") + std::string(l);
      if (l.back() == ';') {
        atual.Texto.pop_back();
        if (Aparar(atual.Texto).empty()) Falhar(linha, "comando SQL vazio");
        p.SQL.push_back(std::move(atual));
        atual = {};
      }
    }
    if (!atual.Texto.empty()) Falhar(atual.Linha, "comando SQL sem ';' no fim");
    if (p.SQL.empty()) Falhar(ALinha, "bloco \"dados\" sem nenhum comando SQL");
    return p;
  }

  TPassoCenario Comando(bool AErro, std::string_view AResto, int ALinha) {
    TPassoCenario p;
    p.Tipo = TPassoCenario::TTipo::tpComando;
    p.Linha = ALinha;
    p.EsperaErro = AErro;
    try {
      p.Argumentos = SepararArgumentos(AResto);
    } catch (const std::invalid_argument& e) {
      Falhar(ALinha, e.what());
    }
    if (p.Argumentos.empty()) Falhar(ALinha, "\"" + std::string(AErro ? "erro" : "comando") + "\" sem subcomando do pisco");
    for (const auto& a : p.Argumentos)
      if (a == "--db" || ComecaCom(a, "--db="))
        Falhar(ALinha, "o cenário não escolhe o banco (--db): o executor o acrescenta");
    if (FPos >= FLinhas.size() || Aparar(FLinhas[FPos]) != "----")
      Falhar(ALinha + 1, "esperado \"----\" depois do comando");
    ++FPos;
    p.LinhaEsperado = static_cast<int>(FPos) + 1;
    // As linhas esperadas vão como estão (sem o '\r'), até uma linha vazia.
    for (; FPos < FLinhas.size() && !Aparar(FLinhas[FPos]).empty(); ++FPos) p.Esperado.emplace_back(FLinhas[FPos]);
    if (AErro && p.Esperado.empty()) Falhar(p.LinhaEsperado, "\"erro\" sem a mensagem esperada");
    return p;
  }

  std::string FArquivo;
  std::vector<std::string_view> FLinhas;
  size_t FPos = 0;
};

}  // namespace

std::vector<std::string> SepararArgumentos(std::string_view ALinha) {
  std::vector<std::string> args;
  std::string atual;
  bool temAtual = false, aspas = false;
  for (const char ch : ALinha) {
    if (ch == '"') {
      aspas = !aspas;
      temAtual = true;
    } else if (!aspas && (ch == ' ' || ch == '\t')) {
      if (temAtual) args.push_back(std::move(atual));
      atual.clear();
      temAtual = false;
    } else {
      atual += ch;
      temAtual = true;
    }
  }
  if (aspas) throw std::invalid_argument("aspas sem fechamento na linha de comando");
  if (temAtual) args.push_back(std::move(atual));
  return args;
}

TCenario LerCenario(const std::string& AArquivo, std::string_view ATexto) { return TLeitor(AArquivo, ATexto).Ler(); }
