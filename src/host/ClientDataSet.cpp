#include "host/ClientDataSet.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fmt/format.h>
#include <numeric>
#include <strings.h>

#include "host/Database.h"
#include "base/Erros.h"
#include "base/TextoUTF8.h"

namespace {

bool Numerico(const TVariant& v) {
  return std::holds_alternative<int64_t>(v) || std::holds_alternative<double>(v) ||
         std::holds_alternative<TVarDate>(v) || std::holds_alternative<bool>(v);
}

bool ComoNumero(const TVariant& v, double& d) {
  if (Numerico(v)) {
    d = VarToFloat(v);
    return true;
  }
  if (const auto* s = std::get_if<std::string>(&v)) {
    try {
      d = VarToFloat(*s);
      return true;
    } catch (const EConversao&) {
      return false;
    }
  }
  return false;
}

int CompararDoubles(double a, double b) {
  const double tol = 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
  if (std::fabs(a - b) <= tol) return 0;
  return a < b ? -1 : 1;
}

// Ordem da ordenação: a igualdade com tolerância acima não é transitiva (a ~ b, b ~ c, a < c)
// e o std::sort exige ordem fraca estrita. Aqui: nulo, números pelo valor exato (NaN no fim),
// textos por bytes. Coerente com a busca: quem está a menos da tolerância fica vizinho.
int OrdemValores(const TVariant& a, const TVariant& b) {
  const auto classe = [](const TVariant& v) { return VarIsNull(v) ? 0 : Numerico(v) ? 1 : 2; };
  const int ca = classe(a), cb = classe(b);
  if (ca != cb) return ca < cb ? -1 : 1;
  if (ca == 0) return 0;
  if (ca == 1) {
    const double da = VarToFloat(a), db = VarToFloat(b);
    const bool na = std::isnan(da), nb = std::isnan(db);
    if (na || nb) return na == nb ? 0 : (na ? 1 : -1);
    return da < db ? -1 : (db < da ? 1 : 0);
  }
  const std::string ta = VarToStr(a), tb = VarToStr(b);
  return ta < tb ? -1 : (ta == tb ? 0 : 1);
}

// Ordem total: nulo primeiro; números (inclusive datas e booleanos) pelo valor; textos por bytes.
int CompararValores(const TVariant& a, const TVariant& b) {
  const bool na = VarIsNull(a), nb = VarIsNull(b);
  if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
  const auto* sa = std::get_if<std::string>(&a);
  const auto* sb = std::get_if<std::string>(&b);
  if (sa && sb) return sa->compare(*sb) < 0 ? -1 : (*sa == *sb ? 0 : 1);
  double da, db;
  if (ComoNumero(a, da) && ComoNumero(b, db)) return CompararDoubles(da, db);
  const std::string ta = VarToStr(a), tb = VarToStr(b);
  return ta < tb ? -1 : (ta == tb ? 0 : 1);
}

std::vector<std::string> Dividir(const std::string& campos) {
  std::vector<std::string> r;
  std::string atual;
  for (char c : campos + ";") {
    if (c == ';' || c == ',') {
      const auto i = atual.find_first_not_of(' ');
      if (i != std::string::npos) r.push_back(atual.substr(i, atual.find_last_not_of(' ') - i + 1));
      atual.clear();
    } else {
      atual += c;
    }
  }
  return r;
}

}  // namespace

// ---- expressão de filtro ----
namespace FiltroCDS {

enum class TOp { Igual, Diferente, Menor, MenorIgual, Maior, MaiorIgual, EhNulo, NaoNulo };

struct TNo {
  enum { E, Ou, Nao, Comparacao } Tipo = Comparacao;
  std::shared_ptr<TNo> A, B;
  std::string Campo;
  int Indice = -1;  // resolvido a cada reconstrução da visão
  TOp Op = TOp::Igual;
  TVariant Literal;
};

class TParser {
 public:
  explicit TParser(const std::string& s) : FS(s) {}

  std::shared_ptr<TNo> Analisar() {
    auto no = Ou();
    Espacos();
    if (FI < FS.size()) Erro("texto inesperado");
    return no;
  }

 private:
  [[noreturn]] void Erro(const char* oque) const {
    throw EEntradaInvalida(fmt::format("Filtro inválido ({}) na posição {}: \"{}\"", oque, FI + 1, FS));
  }
  void Espacos() {
    while (FI < FS.size() && std::isspace(static_cast<unsigned char>(FS[FI]))) ++FI;
  }
  bool Palavra(const char* p) {
    Espacos();
    const size_t n = std::char_traits<char>::length(p);
    if (FI + n > FS.size() || strncasecmp(FS.data() + FI, p, n) != 0) return false;
    if (FI + n < FS.size() && (std::isalnum(static_cast<unsigned char>(FS[FI + n])) || FS[FI + n] == '_')) return false;
    FI += n;
    return true;
  }
  std::shared_ptr<TNo> Ou() {
    auto a = E();
    while (Palavra("or")) {
      auto n = std::make_shared<TNo>();
      n->Tipo = TNo::Ou;
      n->A = a;
      n->B = E();
      a = n;
    }
    return a;
  }
  std::shared_ptr<TNo> E() {
    auto a = Unario();
    while (Palavra("and")) {
      auto n = std::make_shared<TNo>();
      n->Tipo = TNo::E;
      n->A = a;
      n->B = Unario();
      a = n;
    }
    return a;
  }
  std::shared_ptr<TNo> Unario() {
    if (++FProfundidade > 100) Erro("aninhamento excessivo");
    std::shared_ptr<TNo> r;
    if (Palavra("not")) {
      r = std::make_shared<TNo>();
      r->Tipo = TNo::Nao;
      r->A = Unario();
    } else {
      Espacos();
      if (FI < FS.size() && FS[FI] == '(') {
        ++FI;
        r = Ou();
        Espacos();
        if (FI >= FS.size() || FS[FI] != ')') Erro("falta ')'");
        ++FI;
      } else {
        r = Comparacao();
      }
    }
    --FProfundidade;
    return r;
  }
  std::shared_ptr<TNo> Comparacao() {
    Espacos();
    auto n = std::make_shared<TNo>();
    const size_t ini = FI;
    while (FI < FS.size() && (std::isalnum(static_cast<unsigned char>(FS[FI])) || FS[FI] == '_')) ++FI;
    if (FI == ini || std::isdigit(static_cast<unsigned char>(FS[ini]))) Erro("esperado nome de campo");
    n->Campo = FS.substr(ini, FI - ini);
    if (Palavra("is")) {
      const bool nao = Palavra("not");
      if (!Palavra("null")) Erro("esperado NULL");
      n->Op = nao ? TOp::NaoNulo : TOp::EhNulo;
      return n;
    }
    Espacos();
    auto tem = [&](const char* op) {
      const size_t k = std::char_traits<char>::length(op);
      if (FS.compare(FI, k, op) == 0) {
        FI += k;
        return true;
      }
      return false;
    };
    if (tem("<>") || tem("!=")) n->Op = TOp::Diferente;
    else if (tem("<=")) n->Op = TOp::MenorIgual;
    else if (tem(">=")) n->Op = TOp::MaiorIgual;
    else if (tem("<")) n->Op = TOp::Menor;
    else if (tem(">")) n->Op = TOp::Maior;
    else if (tem("=")) n->Op = TOp::Igual;
    else Erro("esperado operador de comparação");
    n->Literal = Literal();
    if (VarIsNull(n->Literal)) {
      if (n->Op == TOp::Igual) n->Op = TOp::EhNulo;
      else if (n->Op == TOp::Diferente) n->Op = TOp::NaoNulo;
      else Erro("NULL só com = ou <>");
    }
    return n;
  }
  TVariant Literal() {
    Espacos();
    if (FI >= FS.size()) Erro("falta o valor");
    if (FS[FI] == '\'') {
      std::string v;
      for (++FI;; ++FI) {
        if (FI >= FS.size()) Erro("texto sem aspas de fechamento");
        if (FS[FI] == '\'') {
          if (FI + 1 < FS.size() && FS[FI + 1] == '\'') {
            v += '\'';
            ++FI;
            continue;
          }
          ++FI;
          return v;
        }
        v += FS[FI];
      }
    }
    if (Palavra("null")) return VarNull();
    if (Palavra("true")) return true;
    if (Palavra("false")) return false;
    const size_t ini = FI;
    if (FS[FI] == '-' || FS[FI] == '+') ++FI;
    while (FI < FS.size() && (std::isdigit(static_cast<unsigned char>(FS[FI])) || FS[FI] == '.' || FS[FI] == 'e' ||
                              FS[FI] == 'E' || ((FS[FI] == '-' || FS[FI] == '+') && (FS[FI - 1] == 'e' || FS[FI - 1] == 'E'))))
      ++FI;
    const std::string num = FS.substr(ini, FI - ini);
    try {
      if (num.find_first_of(".eE") == std::string::npos) return VarToInt(num);
      return VarToFloat(num);
    } catch (const EConversao&) {
      FI = ini;
      Erro("valor inválido");
    }
  }

  const std::string& FS;
  size_t FI = 0;
  int FProfundidade = 0;
};

template <class F>
void Resolver(TNo& n, const F& indice) {
  if (n.Tipo == TNo::Comparacao) n.Indice = indice(n.Campo);
  if (n.A) Resolver(*n.A, indice);
  if (n.B) Resolver(*n.B, indice);
}

bool Avaliar(const TNo& n, const std::vector<TVariant>& linha) {
  switch (n.Tipo) {
    case TNo::E: return Avaliar(*n.A, linha) && Avaliar(*n.B, linha);
    case TNo::Ou: return Avaliar(*n.A, linha) || Avaliar(*n.B, linha);
    case TNo::Nao: return !Avaliar(*n.A, linha);
    case TNo::Comparacao: break;
  }
  const TVariant& v = linha.at(static_cast<size_t>(n.Indice));
  if (n.Op == TOp::EhNulo) return VarIsNull(v);
  if (n.Op == TOp::NaoNulo) return !VarIsNull(v);
  if (VarIsNull(v)) return false;
  const int c = CompararValores(v, n.Literal);
  switch (n.Op) {
    case TOp::Igual: return c == 0;
    case TOp::Diferente: return c != 0;
    case TOp::Menor: return c < 0;
    case TOp::MenorIgual: return c <= 0;
    case TOp::Maior: return c > 0;
    case TOp::MaiorIgual: return c >= 0;
    default: return false;
  }
}

}  // namespace FiltroCDS

TnClientDataSet::TnClientDataSet(TComponent*) {}
TnClientDataSet::~TnClientDataSet() = default;

void TnClientDataSet::AddFieldDef(const std::string& ANome, TFieldType ATipo, int ATamanho) {
  if (FCriado) throw EBancoDados("Campos só podem ser definidos antes de CreateDataSet");
  for (const auto& d : FFieldDefs)
    if (strcasecmp(d.Name.c_str(), ANome.c_str()) == 0) throw EBancoDados(fmt::format("Campo duplicado: {}", ANome));
  FFieldDefs.push_back({ANome, ATipo, ATamanho});
}

void TnClientDataSet::CreateDataSet() {
  std::vector<std::string> nomes;
  std::vector<TFieldType> tipos;
  for (const auto& d : FFieldDefs) {
    nomes.push_back(d.Name);
    tipos.push_back(d.DataType);
  }
  DefinirCampos(nomes, tipos);
  FCriado = true;
  FLinhas.clear();
  FState = TDataSetState::dsBrowse;
  if (!FIndexFieldNames.empty()) FIndice = IndicesCampos(FIndexFieldNames);
  Reconstruir(0);
  First();
}

void TnClientDataSet::CarregarDe(TDataSet& AOrigem) {
  ++FCarregamentos;
  FFieldDefs.clear();
  FCriado = false;
  for (int i = 0; i < AOrigem.FieldCount(); ++i)
    FFieldDefs.push_back({AOrigem.Fields(i).FieldName(), AOrigem.Fields(i).DataType(), 0});
  CreateDataSet();
  for (; !AOrigem.Eof(); AOrigem.Next()) {
    std::vector<TVariant> linha(FFieldDefs.size());
    for (int i = 0; i < AOrigem.FieldCount(); ++i) linha[static_cast<size_t>(i)] = Coagir(i, AOrigem.Fields(i).Value());
    FLinhas.push_back(std::move(linha));
  }
  Reconstruir(0);
  First();
}

std::vector<int> TnClientDataSet::IndicesCampos(const std::string& ACampos) const {
  std::vector<int> r;
  for (const auto& nome : Dividir(ACampos)) {
    int achado = -1;
    for (size_t i = 0; i < FFieldDefs.size(); ++i)
      if (strcasecmp(FFieldDefs[i].Name.c_str(), nome.c_str()) == 0) achado = static_cast<int>(i);
    if (achado < 0) throw EBancoDados(fmt::format("Campo não encontrado: {}", nome));
    r.push_back(achado);
  }
  return r;
}

TVariant TnClientDataSet::Coagir(int indice, TVariant v) const {
  if (VarIsNull(v)) return v;
  const TFieldDef& d = FFieldDefs.at(static_cast<size_t>(indice));
  switch (d.DataType) {
    case TFieldType::ftInteger: return VarToInt(v);
    case TFieldType::ftFloat: return VarToFloat(v);
    case TFieldType::ftString: {
      std::string s = VarToStr(v);
      if (d.Size > 0) TextoUTF8::Cortar(s, static_cast<size_t>(d.Size));
      return s;
    }
    case TFieldType::ftDate: return VarDate(VarToDateTime(v));
    case TFieldType::ftBoolean: return VarToBool(v);
    case TFieldType::ftUnknown: break;
  }
  return v;
}

int TnClientDataSet::Comparar(size_t a, size_t b) const {
  for (int i : FIndice) {
    const int c = OrdemValores(FLinhas[a][static_cast<size_t>(i)], FLinhas[b][static_cast<size_t>(i)]);
    if (c != 0) return c;
  }
  return 0;
}

// Ordem da visão: chave do índice e, no empate, ordem de inclusão.
bool TnClientDataSet::Antes(size_t a, size_t b) const {
  const int c = Comparar(a, b);
  return c < 0 || (c == 0 && a < b);
}

bool TnClientDataSet::Passa(size_t ALinha) const {
  if (!FFiltered || !FArvoreFiltro) return true;
  return FiltroCDS::Avaliar(*FArvoreFiltro, FLinhas[ALinha]);
}

void TnClientDataSet::Reconstruir(size_t ALinhaPreferida) {
  FVisao.clear();
  if (FFiltered && FArvoreFiltro)
    FiltroCDS::Resolver(*FArvoreFiltro, [&](const std::string& campo) { return IndicesCampos(campo).at(0); });
  for (size_t i = 0; i < FLinhas.size(); ++i)
    if (Passa(i)) FVisao.push_back(i);
  if (!FIndice.empty()) std::sort(FVisao.begin(), FVisao.end(), [&](size_t a, size_t b) { return Antes(a, b); });
  const auto it = std::find(FVisao.begin(), FVisao.end(), ALinhaPreferida);
  if (it != FVisao.end()) Posicionar(static_cast<size_t>(it - FVisao.begin()));
  else Posicionar(std::min(FPos, FVisao.empty() ? size_t{0} : FVisao.size() - 1));
}

void TnClientDataSet::Posicionar(size_t APos) {
  FPos = APos;
  FEof = FVisao.empty();
  FBof = FPos == 0;
  FRecNo = FVisao.empty() ? 0 : static_cast<int64_t>(FPos) + 1;
}

size_t TnClientDataSet::LinhaCorrente() const {
  if (FVisao.empty() || FEof) throw EBancoDados("Nenhum registro corrente (dataset vazio ou no fim)");
  return FVisao[FPos];
}

void TnClientDataSet::First() {
  if (FState != TDataSetState::dsBrowse) Post();
  Posicionar(0);
  if (!FVisao.empty()) DispararProgresso();
}

void TnClientDataSet::Next() {
  if (FState != TDataSetState::dsBrowse) Post();
  if (FEof) return;
  if (FPos + 1 >= FVisao.size()) {
    FEof = true;
    return;
  }
  Posicionar(FPos + 1);
  DispararProgresso();
}

void TnClientDataSet::Last() {
  if (FState != TDataSetState::dsBrowse) Post();
  Posicionar(FVisao.empty() ? 0 : FVisao.size() - 1);
}

void TnClientDataSet::Prior() {
  if (FState != TDataSetState::dsBrowse) Post();
  if (FVisao.empty()) return;
  if (FEof) {
    Posicionar(FVisao.size() - 1);
    return;
  }
  if (FPos == 0) {
    FBof = true;
    return;
  }
  Posicionar(FPos - 1);
}

void TnClientDataSet::Append() {
  if (!FCriado) throw EBancoDados("TnClientDataSet sem campos: chame CreateDataSet");
  if (FState != TDataSetState::dsBrowse) Post();
  FBuffer.assign(FFieldDefs.size(), TVariant{});
  FState = TDataSetState::dsInsert;
}

void TnClientDataSet::Edit() {
  if (FState == TDataSetState::dsEdit) return;
  if (FState == TDataSetState::dsInsert) return;
  FLinhaEditada = LinhaCorrente();
  FBuffer = FLinhas[FLinhaEditada];
  FState = TDataSetState::dsEdit;
}

void TnClientDataSet::Post() {
  if (FState == TDataSetState::dsBrowse) return;
  // Mantém a visão ordenada sem reordenar tudo: tirar e recolocar só a linha gravada.
  size_t linha;
  if (FState == TDataSetState::dsInsert) {
    FLinhas.push_back(std::move(FBuffer));
    linha = FLinhas.size() - 1;
  } else {
    linha = FLinhaEditada;
    FLinhas[linha] = std::move(FBuffer);
    const size_t p = FPos < FVisao.size() && FVisao[FPos] == linha
                         ? FPos
                         : static_cast<size_t>(std::find(FVisao.begin(), FVisao.end(), linha) - FVisao.begin());
    if (p < FVisao.size()) {
      // chave não mudou de lugar: nada a mover (caso comum da acumulação)
      const bool noLugar = (p == 0 || Antes(FVisao[p - 1], linha)) && (p + 1 == FVisao.size() || Antes(linha, FVisao[p + 1]));
      if (noLugar && Passa(linha)) {
        FBuffer.clear();
        FState = TDataSetState::dsBrowse;
        Posicionar(p);
        return;
      }
      FVisao.erase(FVisao.begin() + static_cast<std::ptrdiff_t>(p));
    }
  }
  FBuffer.clear();
  FState = TDataSetState::dsBrowse;
  if (Passa(linha)) {
    const auto it = std::lower_bound(FVisao.begin(), FVisao.end(), linha, [&](size_t a, size_t b) { return Antes(a, b); });
    const auto novo = FVisao.insert(it, linha);  // begin() só depois: insert pode realocar
    Posicionar(static_cast<size_t>(novo - FVisao.begin()));
  } else {
    Posicionar(std::min(FPos, FVisao.empty() ? size_t{0} : FVisao.size() - 1));
  }
}

void TnClientDataSet::Cancel() {
  FBuffer.clear();
  FState = TDataSetState::dsBrowse;
}

void TnClientDataSet::Delete() {
  if (FState == TDataSetState::dsInsert) return Cancel();
  FState = TDataSetState::dsBrowse;
  const size_t linha = LinhaCorrente();
  FLinhas.erase(FLinhas.begin() + static_cast<std::ptrdiff_t>(linha));
  FVisao.erase(FVisao.begin() + static_cast<std::ptrdiff_t>(FPos));
  for (auto& v : FVisao)
    if (v > linha) --v;
  Posicionar(std::min(FPos, FVisao.empty() ? size_t{0} : FVisao.size() - 1));
}

void TnClientDataSet::EmptyDataSet() {
  FState = TDataSetState::dsBrowse;
  FBuffer.clear();
  FLinhas.clear();
  Reconstruir(0);
}

void TnClientDataSet::SetIndexFieldNames(const std::string& ACampos) {
  if (FState != TDataSetState::dsBrowse) Post();
  std::vector<int> indice = FCriado ? IndicesCampos(ACampos) : std::vector<int>{};
  FIndexFieldNames = ACampos;
  FIndice = std::move(indice);
  const size_t atual = FVisao.empty() || FEof ? SIZE_MAX : FVisao[FPos];
  Reconstruir(atual);
}

bool TnClientDataSet::FindKey(const TParams& AChave) {
  if (FState != TDataSetState::dsBrowse) Post();
  if (AChave.empty() || AChave.size() > FIndice.size())
    throw EBancoDados(fmt::format("FindKey com {} valores para o índice \"{}\"", AChave.size(), FIndexFieldNames));
  // FVisao está ordenada pelo índice: busca binária do primeiro >= chave
  auto cmp = [&](size_t linha) {
    for (size_t k = 0; k < AChave.size(); ++k) {
      const int i = FIndice[k];
      const int c = CompararValores(FLinhas[linha][static_cast<size_t>(i)], Coagir(i, AChave[k]));
      if (c != 0) return c;
    }
    return 0;
  };
  const auto it = std::partition_point(FVisao.begin(), FVisao.end(), [&](size_t l) { return cmp(l) < 0; });
  if (it == FVisao.end() || cmp(*it) != 0) return false;
  Posicionar(static_cast<size_t>(it - FVisao.begin()));
  return true;
}

bool TnClientDataSet::Locate(const std::string& ACampos, const TParams& AValores) {
  if (FState != TDataSetState::dsBrowse) Post();
  const std::vector<int> campos = IndicesCampos(ACampos);
  if (campos.size() != AValores.size())
    throw EBancoDados(fmt::format("Locate com {} campos e {} valores", campos.size(), AValores.size()));
  for (size_t p = 0; p < FVisao.size(); ++p) {
    bool igual = true;
    for (size_t k = 0; igual && k < campos.size(); ++k)
      igual = CompararValores(FLinhas[FVisao[p]][static_cast<size_t>(campos[k])], Coagir(campos[k], AValores[k])) == 0 &&
              VarIsNull(FLinhas[FVisao[p]][static_cast<size_t>(campos[k])]) == VarIsNull(AValores[k]);
    if (igual) {
      Posicionar(p);
      return true;
    }
  }
  return false;
}

void TnClientDataSet::SetFilter(const std::string& AFiltro) {
  std::shared_ptr<FiltroCDS::TNo> arvore;
  const bool vazio = AFiltro.find_first_not_of(" \t\r\n") == std::string::npos;
  if (!vazio) {
    arvore = FiltroCDS::TParser(AFiltro).Analisar();
    // campo desconhecido é recusado já aqui, sem mexer no filtro em vigor
    if (FCriado) FiltroCDS::Resolver(*arvore, [&](const std::string& campo) { return IndicesCampos(campo).at(0); });
  }
  FFilter = AFiltro;
  FArvoreFiltro = arvore;
  if (FFiltered) {
    Reconstruir(SIZE_MAX);
    Posicionar(0);
  }
}

void TnClientDataSet::SetFiltered(bool AFiltrado) {
  if (FState != TDataSetState::dsBrowse) Post();
  FFiltered = AFiltrado;
  Reconstruir(SIZE_MAX);
  Posicionar(0);
}

const TVariant& TnClientDataSet::ValorCampo(int indice) const {
  static const TVariant kNulo;
  if (indice < 0 || static_cast<size_t>(indice) >= FFieldDefs.size()) return kNulo;
  if (FState != TDataSetState::dsBrowse) return FBuffer[static_cast<size_t>(indice)];
  // depois do fim a linha corrente continua sendo a última
  if (FVisao.empty()) return kNulo;
  return FLinhas[FVisao[FPos]][static_cast<size_t>(indice)];
}

void TnClientDataSet::DefinirValorCampo(int indice, TVariant v) {
  if (FState == TDataSetState::dsBrowse)
    throw EBancoDados(fmt::format("Dataset não está em edição: chame Edit ou Append antes de alterar {}",
                                  Fields(indice).FieldName()));
  FBuffer.at(static_cast<size_t>(indice)) = Coagir(indice, std::move(v));
}

void TnClientDataSet::Reexecutar(const TParams& AValores) {
  if (!FConexao || FCommandText.empty()) return TDataSet::Reexecutar(AValores);
  auto origem = FConexao->Abrir(FCommandText, AValores);
  CarregarDe(*origem);
}
