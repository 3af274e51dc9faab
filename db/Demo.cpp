// Banco de demonstração: cadastros, um mês de movimento e os totais apurados do mês, tudo
// determinado pela semente. O sorteio usa std::mt19937_64 (sequência fixada pelo padrão) com
// distribuições próprias: as da biblioteca padrão mudam de uma implementação para outra.
// Valores são guardados em centavos (inteiros) e alíquotas em décimos de milésimo, para que
// os totais batam exatamente com os lançamentos.
#include "db/Demo.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "db/Schema.h"
#include "host/Erros.h"

namespace {

// ---------------------------------------------------------------- sorteio

class TSorteio {
 public:
  explicit TSorteio(uint64_t semente) : FMotor(semente) {}
  // Inteiro uniforme em [a, b], por rejeição (sem viés e igual em qualquer plataforma).
  int64_t Entre(int64_t a, int64_t b) {
    const uint64_t faixa = static_cast<uint64_t>(b - a) + 1;
    const uint64_t limite = UINT64_MAX - UINT64_MAX % faixa;
    uint64_t x;
    do x = FMotor();
    while (x >= limite);
    return a + static_cast<int64_t>(x % faixa);
  }
  bool Chance(int porcento) { return Entre(0, 99) < porcento; }
  // Índice sorteado conforme os pesos.
  size_t Peso(std::initializer_list<int> pesos) {
    int total = 0;
    for (int p : pesos) total += p;
    int64_t r = Entre(0, total - 1);
    size_t i = 0;
    for (int p : pesos) {
      if (r < p) return i;
      r -= p;
      ++i;
    }
    return pesos.size() - 1;
  }
  std::string Digitos(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + Entre(0, 9));
    return s;
  }

 private:
  std::mt19937_64 FMotor;
};

// Semente própria de cada empresa: aumentar --empresas não muda as empresas já existentes.
uint64_t Misturar(uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// ---------------------------------------------------------------- valores

double Reais(int64_t centavos) { return static_cast<double>(centavos) / 100.0; }
double Aliq(int64_t aliq4) { return static_cast<double>(aliq4) / 10000.0; }
// Tributo de uma base (centavos) a uma alíquota (décimos de milésimo de ponto percentual),
// arredondado meio para cima.
// Produtos em 128 bits: com dezenas de milhões de linhas as somas passam de 10^13 centavos.
int64_t Tributo(int64_t baseCentavos, int64_t aliq4) {
  const __int128 p = static_cast<__int128>(baseCentavos) * aliq4;
  return static_cast<int64_t>(p >= 0 ? (p + 500000) / 1000000 : -((-p + 500000) / 1000000));
}
int64_t Parte(int64_t valor, int64_t num, int64_t den) {
  return den == 0 ? 0 : static_cast<int64_t>((static_cast<__int128>(valor) * num + den / 2) / den);
}

TVariant I(int64_t v) { return v; }
TVariant V(int64_t centavos) { return Reais(centavos); }
TVariant A(int64_t aliq4) { return Aliq(aliq4); }
TVariant Q(int64_t milesimos) { return static_cast<double>(milesimos) / 1000.0; }
TVariant T(std::string s) { return s; }
TVariant D(TDateTime d) { return VarDate(d); }
TVariant N() { return VarNull(); }

std::string CNPJ(int64_t raiz, int filial) {
  char base[32];
  std::snprintf(base, sizeof base, "%08lld%04d", static_cast<long long>(raiz % 100000000), filial % 10000);
  std::string s = base;
  auto dv = [](const std::string& d, std::initializer_list<int> pesos) {
    int soma = 0;
    size_t i = 0;
    for (int p : pesos) soma += (d[i++] - '0') * p;
    int r = soma % 11;
    return static_cast<char>('0' + (r < 2 ? 0 : 11 - r));
  };
  s += dv(s, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  s += dv(s, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  return s;
}

// ---------------------------------------------------------------- gravação em lote

// Parâmetros por comando: cada execução analisa e prepara o texto de novo, e essa análise
// cresce com o quadrado do número de parâmetros; por volta de 60 fica o menor custo por linha.
constexpr size_t kParametrosPorLote = 60;

// Insere em lotes de várias linhas por comando, com parâmetros: poucas preparações por
// milhão de linhas, e o texto de cada lote é sempre o mesmo.
class TInsersor {
 public:
  TInsersor(TDatabase& banco, std::string tabela, std::string_view colunas, int64_t& contador)
      : FBanco(banco), FTabela(std::move(tabela)), FContador(contador) {
    std::string atual;
    for (char c : colunas) {
      if (c == ' ' || c == ',') {
        if (!atual.empty()) FColunas.push_back(atual);
        atual.clear();
      } else {
        atual += c;
      }
    }
    if (!atual.empty()) FColunas.push_back(atual);
    FLote = std::max<size_t>(1, kParametrosPorLote / FColunas.size());
  }
  void Linha(TParams valores) {
    if (valores.size() != FColunas.size())
      throw EPisco("demo-db: " + FTabela + " recebeu " + std::to_string(valores.size()) + " valores para " +
                   std::to_string(FColunas.size()) + " colunas");
    for (auto& v : valores) FPendentes.push_back(std::move(v));
    if (++FLinhas == FLote) Descarregar();
  }
  void Descarregar() {
    if (FLinhas == 0) return;
    FBanco.Executar(Texto(FLinhas), FPendentes);
    FContador += static_cast<int64_t>(FLinhas);
    FPendentes.clear();
    FLinhas = 0;
  }

 private:
  std::string Texto(size_t linhas) {
    std::string& cache = linhas == FLote ? FTextoLote : FTextoResto;
    if (!cache.empty() && FLinhasTexto[linhas == FLote] == linhas) return cache;
    std::string s = "INSERT INTO " + FTabela + " (";
    for (size_t i = 0; i < FColunas.size(); ++i) s += (i ? ", " : "") + FColunas[i];
    s += ") VALUES ";
    size_t n = 0;
    for (size_t l = 0; l < linhas; ++l) {
      s += l ? ", (" : "(";
      for (size_t i = 0; i < FColunas.size(); ++i) s += (i ? ", :P" : ":P") + std::to_string(n++);
      s += ")";
    }
    cache = s;
    FLinhasTexto[linhas == FLote] = linhas;
    return cache;
  }

  TDatabase& FBanco;
  std::string FTabela;
  std::vector<std::string> FColunas;
  size_t FLote;
  size_t FLinhas = 0;
  TParams FPendentes;
  std::string FTextoLote, FTextoResto;
  size_t FLinhasTexto[2] = {0, 0};
  int64_t& FContador;
};

class TCarga {
 public:
  explicit TCarga(TDatabase& banco) : FBanco(banco) {}
  TInsersor& operator()(const std::string& tabela, std::string_view colunas) {
    auto it = FInsersores.find(tabela);
    if (it == FInsersores.end())
      it = FInsersores.emplace(tabela, std::make_unique<TInsersor>(FBanco, tabela, colunas, FGravadas)).first;
    return *it->second;
  }
  void Descarregar() {
    for (auto& [nome, ins] : FInsersores) ins->Descarregar();
  }
  int64_t Gravadas() const { return FGravadas; }
  TDatabase& Banco() { return FBanco; }

 private:
  TDatabase& FBanco;
  std::map<std::string, std::unique_ptr<TInsersor>> FInsersores;
  int64_t FGravadas = 0;
};

// ---------------------------------------------------------------- cadastros comuns

struct TMunicipio {
  const char* UF;
  int Codigo;
  const char* Nome;
};
const TMunicipio kMunicipios[] = {
    {"SP", 3550308, "São Paulo"},      {"DF", 5300108, "Brasília"},   {"MG", 3106200, "Belo Horizonte"},
    {"PR", 4106902, "Curitiba"},       {"RS", 4314902, "Porto Alegre"}, {"RJ", 3304557, "Rio de Janeiro"},
    {"GO", 5208707, "Goiânia"},        {"BA", 2927408, "Salvador"},
};

// Pessoas: 1 consumidor final, 2..4 fornecedores do exterior, 5..10 órgãos públicos, o resto empresas.
constexpr int kPessoas = 60;
constexpr int kConsumidorFinal = 1;
int OrgaoPublico(int pessoa) { return pessoa >= 5 && pessoa <= 10 ? 1 + (pessoa % 3) : 0; }
bool Estrangeira(int pessoa) { return pessoa >= 2 && pessoa <= 4; }

void GravarCadastrosComuns(TCarga& c, TSorteio& s) {
  auto& mun = c("MUNICIPIO", "SIGLAESTADO CODIGOMUNIC NOMEMUNIC CODIGORAIS");
  for (const auto& m : kMunicipios) mun.Linha({T(m.UF), I(m.Codigo), T(m.Nome), I(m.Codigo / 10)});

  auto& pes = c("PESSOA", "CODIGOPESSOA NOMEPESSOA TIPOINSCR INSCRFEDERAL SIGLAESTADO CODIGOMUNIC ORGAOPUBLICO");
  for (int p = 1; p <= kPessoas; ++p) {
    const auto& m = kMunicipios[static_cast<size_t>(s.Entre(0, std::size(kMunicipios) - 1))];
    if (p == kConsumidorFinal) {
      pes.Linha({I(p), T("CONSUMIDOR FINAL"), I(2), T(""), T("SP"), I(3550308), I(0)});
    } else if (Estrangeira(p)) {
      pes.Linha({I(p), T("FORNECEDOR EXTERIOR " + std::to_string(p)), I(4), T(""), T("EX"), N(), I(0)});
    } else if (OrgaoPublico(p)) {
      static const char* esfera[] = {"", "UNIÃO", "ESTADO", "MUNICÍPIO"};
      pes.Linha({I(p), T(std::string("ÓRGÃO PÚBLICO ") + esfera[OrgaoPublico(p)] + " " + std::to_string(p)), I(1),
                 T(CNPJ(s.Entre(10000000, 99999999), 1)), T(m.UF), I(m.Codigo), I(OrgaoPublico(p))});
    } else {
      // algumas sem município, como acontece em cadastros reais
      pes.Linha({I(p), T("EMPRESA CLIENTE/FORNECEDORA " + std::to_string(p)), I(1),
                 T(CNPJ(s.Entre(10000000, 99999999), 1)), T(m.UF), p % 17 == 0 ? N() : I(m.Codigo), I(0)});
    }
  }

  auto& imp = c("IMPOSTO", "CODIGOIMPOSTO VARIACAOIMPOSTO DESCRIMPOSTO CODIGOIMPOSTODCTF VARIACAOIMPOSTODCTF");
  imp.Linha({I(6912), I(1), T("PIS NÃO CUMULATIVO"), N(), N()});
  imp.Linha({I(5856), I(1), T("COFINS NÃO CUMULATIVA"), N(), N()});
  imp.Linha({I(8109), I(2), T("PIS CUMULATIVO"), N(), N()});
  imp.Linha({I(2172), I(1), T("COFINS CUMULATIVA"), N(), N()});
  imp.Linha({I(6912), I(8), T("PIS NÃO CUMULATIVO - SCP"), I(6912), I(8)});
  imp.Linha({I(5856), I(8), T("COFINS NÃO CUMULATIVA - SCP"), I(5856), I(8)});
  imp.Linha({I(2985), I(1), T("CONTRIBUIÇÃO PREVIDENCIÁRIA SOBRE A RECEITA"), N(), N()});

  auto& tit = c("DUPLICATAINDTITULO", "CODIGOINDTITULO DESCRINDTITULO INDTITULOSPED");
  tit.Linha({I(1), T("DUPLICATA"), T("00")});
  tit.Linha({I(2), T("CHEQUE"), T("01")});
  tit.Linha({I(3), T("NOTA PROMISSÓRIA"), T("02")});
  tit.Linha({I(4), T("CARTÃO"), T("10")});

  auto& obs = c("SPEDFIS0460", "CODIGOOBS DESCROBS");
  obs.Linha({T("OBS001"), T("Mercadoria destinada a revenda")});
  obs.Linha({T("OBS002"), T("Operação com suspensão das contribuições")});

  auto& ctb = c("PATTABELACTBLCTO", "SEQ NATUREZA REGRA CONTACTB CONTACTBLCTO");
  ctb.Linha({I(1), I(1), T("VlrEnc"), T("1.2.3.01.001"), T("4.1.1.01.001")});
  ctb.Linha({I(2), I(1), T("VlrEncSoc"), T("1.2.3.01.001"), T("4.1.1.01.002")});
}

// Tabela de compensação 1: todos os tipos de crédito, em ordem do código, 100% utilizáveis.
void GravarOrdemCompensacao(TCarga& c, TDateTime inicio) {
  c("EFDORDEMCOMPCRED", "CODTABSPEDCOMPCRED DESCRICAO FORMACOMPENSACAO").Linha({I(1), T("PADRÃO"), I(0)});
  auto& per = c("EFDORDEMCOMPCREDPERCENT", "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT CODIGOTABSPED PERCENTCOMP");
  int ordem = 0;
  for (int regime = 1; regime <= 3; ++regime)
    for (int classe : {1, 2, 3, 4, 6, 7, 8, 9}) {
      char cod[32];
      std::snprintf(cod, sizeof cod, "4.3.06.%d%02d", regime, classe);
      per.Linha({I(1), I(++ordem), T(cod), A(1000000)});
    }
  auto& aliq = c("EFDORDEMCOMPCREDALIQ", "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT ORDEM ALIQPIS ALIQCOFINS");
  aliq.Linha({I(1), I(1), I(1), A(16500), A(76000)});
  aliq.Linha({I(1), I(1), I(2), A(8000), A(37000)});
  auto& aper = c("EFDORDEMCOMPCREDALIQPER",
                 "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT ORDEM DATAINICIAL DATAFINAL PERCENTUAL");
  aper.Linha({I(1), I(1), I(2), D(IncMonth(inicio, -24)), D(EndOfTheMonth(IncMonth(inicio, 12))), A(500000)});
}

// ---------------------------------------------------------------- uma empresa

struct TEstabDemo {
  int Codigo;
  const TMunicipio* Municipio;
  bool SCP;
};

struct TProdutoDemo {
  int Codigo;
  int DaconTipoReceita;
  bool Monofasico;  // revenda com incidência monofásica: saída com CST 04
  bool PorUnidade;  // tributado por quantidade (CST 03 na saída, crédito por unidade na entrada)
};

// Soma de valores em centavos.
struct TSoma {
  int64_t Total = 0, Base = 0, Tributo = 0, Quantidade = 0;
  void Somar(int64_t total, int64_t base, int64_t tributo, int64_t qtd = 0) {
    Total += total;
    Base += base;
    Tributo += tributo;
    Quantidade += qtd;
  }
};

// Chaves dos acumuladores: o estabelecimento vem primeiro; 0 = empresa inteira.
using TChaveCredito = std::tuple<int, int, std::string, int, int64_t, std::string>;  // estab, imposto, natureza, CST, aliq4, classe ("01", "02", ...)
using TChaveDebito = std::tuple<int, int, std::string, int64_t, bool>;  // estab, imposto, tipo de débito, aliq4, por unidade
using TChaveIsenta = std::tuple<int, int, int, std::string, std::string>;  // estab, imposto, CST, tipo de débito, conta
using TChaveMov = std::tuple<int, int, int, std::string, int, int>;  // estab, imposto, CST, código SPED, TIPOLCTO, CFOP

class TGeradorEmpresa {
 public:
  TGeradorEmpresa(TCarga& carga, const TConfigDemo& cfg, int empresa, TPerfilDemo perfil, TDateTime inicio,
                  int64_t linhas, int64_t& lancamentos)
      : c(carga), s(Misturar(cfg.Semente ^ (static_cast<uint64_t>(empresa) * 0x100000001B3ULL))),
        FCfg(cfg), FEmpresa(empresa), FPerfil(perfil), FInicio(inicio), FFim(EndOfTheMonth(inicio)),
        FDias(DaysInAMonth(YearOf(inicio), MonthOf(inicio))), FLinhas(linhas), FLancamentos(lancamentos) {}

  void Gerar() {
    Cadastros();
    Entradas();
    Saidas();
    DemaisDocumentos();
    Ajustes();
    Imobiliario();
    Patrimonio();
    SaldosAnteriores();
    Regimes();
    if (EhEFD()) TotaisEFD();
  }

 private:
  bool EhEFD() const { return FPerfil != TPerfilDemo::pdPresumido; }
  TDateTime Dia() { return FInicio + static_cast<double>(s.Entre(0, FDias - 1)); }
  std::string Chave44() { return s.Digitos(44); }

  const TEstabDemo& SortearEstab(bool permiteSCP = true) {
    if (FEstabs.size() == 1) return FEstabs[0];
    size_t i = s.Peso({60, 30, permiteSCP ? 10 : 0});
    return FEstabs[std::min(i, FEstabs.size() - 1)];
  }

  void Aviso(int64_t feitas) {
    if (FCfg.Progresso && FLinhas >= 100000 && feitas % 100000 == 0)
      FCfg.Progresso("empresa " + std::to_string(FEmpresa) + ": " + std::to_string(feitas) + " de " +
                     std::to_string(FLinhas) + " linhas de lançamento");
  }

  // ------------------------------------------------------------ cadastros
  void Cadastros() {
    const int64_t raiz = 10000000 + static_cast<int64_t>(FEmpresa) * 1111;
    static const char* nomes[] = {"INDÚSTRIA E COMÉRCIO DEMO LTDA", "SERVIÇOS PRESUMIDOS DEMO LTDA",
                                  "COMERCIAL MISTA DEMO S.A."};
    const int perfil = static_cast<int>(FPerfil);
    const TMunicipio* sede = &kMunicipios[perfil == 0 ? 0 : perfil == 1 ? 2 : 3];
    FEstabs.push_back({1, sede, false});
    if (FPerfil == TPerfilDemo::pdNaoCumulativo) {
      FEstabs.push_back({2, &kMunicipios[1], false});  // filial no DF: CFOP 9xxx vira 5933/6933
      FEstabs.push_back({3, sede, true});
    } else if (FPerfil == TPerfilDemo::pdMisto) {
      FEstabs.push_back({2, &kMunicipios[4], false});
    }
    c("CFGEMPRESAFIS", "CODIGOEMPRESA RAZAOSOCIAL INSCRFEDERAL SIGLAESTADO CODIGOMUNIC")
        .Linha({I(FEmpresa), T(std::to_string(FEmpresa) + " " + nomes[perfil]), T(CNPJ(raiz, 1)), T(sede->UF),
                I(sede->Codigo)});
    auto& est = c("ESTAB",
                  "CODIGOEMPRESA CODIGOESTAB NOMEESTAB INSCRFEDERAL SIGLAESTADO CODIGOMUNIC "
                  "SOCIEDADECONTAPARTICIPACAO INSCRICAOSCP");
    for (const auto& e : FEstabs)
      est.Linha({I(FEmpresa), I(e.Codigo),
                 T(e.SCP ? "SCP EMPREENDIMENTO" : e.Codigo == 1 ? "MATRIZ" : "FILIAL " + std::to_string(e.Codigo)),
                 T(CNPJ(raiz, e.Codigo)), T(e.Municipio->UF), I(e.Municipio->Codigo), T(e.SCP ? "1" : "0"),
                 e.SCP ? T(CNPJ(raiz + 5000000, 1)) : N()});

    const int nProdutos = static_cast<int>(std::clamp<int64_t>(40 + FLinhas / 5000, 40, 400));
    auto& prod = c("PRODUTO",
                   "CODIGOEMPRESA CODIGOPRODUTO REFERENPRODUTO DESCRPRODUTO UNIDADEMEDIDA CODIGONCM EXIPI "
                   "CODIGOCENTROCUSTO DACONTIPORECEITA CODIGORECEITA");
    for (int p = 1; p <= nProdutos; ++p) {
      TProdutoDemo pr{p, 0, p % 11 == 0, p % 13 == 0};
      // no misto, parte da receita é de contratos de longo prazo (tipos de apuração 62 e 63)
      if (FPerfil == TPerfilDemo::pdMisto && p % 7 == 0) pr.DaconTipoReceita = p % 2 ? 62 : 63;
      if (p % 19 == 0) pr.DaconTipoReceita = 10;
      FProdutos.push_back(pr);
      prod.Linha({I(FEmpresa), I(p), T("REF" + std::to_string(1000 + p)), T("PRODUTO DEMONSTRAÇÃO " + std::to_string(p)),
                  T(pr.PorUnidade ? "LT" : "UN"), T(std::to_string(22021000 + p * 37 % 9999)), T(""), T("CC" + std::to_string(p % 4 + 1)),
                  I(pr.DaconTipoReceita), p % 5 == 0 ? T(std::to_string(7000000 + p)) : N()});
    }

    if (FEmpresa % 3 == 1) {
      c("PROCESREFERENC",
        "CODIGOEMPRESA NUMPROCREF INDPROCREF SECAOJUD VARA INDNATACAO DESCRDECJUD DATASENTJUD DATAINICIAL DATAFINAL")
          .Linha({I(FEmpresa), T("0012345-67.2019.4.03.6100"), I(1), T("SJSP"), T("1ª VARA FEDERAL"), T("01"),
                  T("EXCLUSÃO DO ICMS DA BASE DAS CONTRIBUIÇÕES"), D(IncMonth(FInicio, -30)), D(IncMonth(FInicio, -36)),
                  D(EndOfTheMonth(IncMonth(FInicio, 24)))});
      c("RELACPROCESREFPRODUTO", "CODIGOEMPRESA CODIGOPRODUTO NUMPROCREF")
          .Linha({I(FEmpresa), I(1), T("0012345-67.2019.4.03.6100")});
      c("PROCESREFPRODUTOPISCOFINS",
        "CODIGOEMPRESA CODIGOESTAB CODIGOPRODUTO NUMPROCREF CDSITUATRIBUTPIS CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS "
        "DATAINICIAL DATAFINAL")
          .Linha({I(FEmpresa), I(1), I(1), T("0012345-67.2019.4.03.6100"), I(9), I(9), A(0), A(0),
                  D(IncMonth(FInicio, -36)), D(EndOfTheMonth(IncMonth(FInicio, 24)))});
      c("IMPRESSORAFISCAL",
        "CODIGOEMPRESA CODIGOESTAB CODIGOIMPRESSORAFISCAL CDMODELO DESCRIMPRESSORAFISCAL NUMEROSERIE NRCAIXA")
          .Linha({I(FEmpresa), I(1), I(1), T("2D"), T("ECF CAIXA 1"), T("BE0912345678901234567"), I(1)});
      c("EQUIPAMENTOSAT", "CODIGOEMPRESA CODIGOESTAB CODIGOSAT NUMEROSERIESAT").Linha({I(FEmpresa), I(1), I(1), T("900012345")});
    }
  }

  // ------------------------------------------------------------ entradas
  struct TLinhaEntrada {
    int64_t Chave;
    int Produto, Seq, Estab, CST, Cfop;
    int64_t AliqPis, AliqCofins;
  };

  static constexpr std::string_view kColsCab =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} DATALCTOFIS CODIGOPESSOA NUMERONF NUMERONFFINAL ESPECIENF SERIENF "
      "SUBSERIENF DATAEMISSAO DATAPRESTACAOSERVICO VALORCONTABIL VLRDESC VLRABATNTRIB VLRFRETE VLRSEGURO VLROUTRDESP "
      "VALORFUNRURAL EMITENTENF CDMODELO CHAVENFE{} CHAVENFE{}REF MODALIDADEFRETE INDPAGTO CDSITUACAO CANCELADA "
      "COMPLHIST CODIGOESTABSCP CODIGOREDUCAOZ CODIGOSAT";
  static constexpr std::string_view kColsProd =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} CODIGOPRODUTO SEQ DATALCTOFIS CODIGOCFOP CODIGOSITUACAOTRIBUT "
      "UNIDADEMEDIDA QUANTIDADE VALORTOTAL VALORDESCONTO BASECALCULOICMS ALIQICMS VALORICMS ISENTASICMS OUTRASICMS "
      "BASECALCULOIPI ALIQIPI VALORIPI BASECALCULOSUBTRIBUT ALIQSUBTRIBUT VALORSUBTRIBUT VALORISS CSTIPI INDMOV INDNATFRT";
  static constexpr std::string_view kColsPC =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} CODIGOPRODUTO SEQ DATALCTOFIS CODIGOCFOP CDSITUATRIBUTPIS "
      "CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS QUANTIDADE RECEITAPISCOFINS VALORDESCONTO BASECALCULOPISCOFINS VALORPIS "
      "VALORCOFINS TIPOCREDITO TIPOCREDITOPIS TIPODEBITO TIPODEBITOPIS CONTACTBEFD";
  static constexpr std::string_view kColsCfop =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} SEQ DATALCTOFIS CODIGOCFOP TIPOIMPOSTO BASECALCULOIMPOSTO "
      "ISENTASIMPOSTO OUTRASIMPOSTO VALORIMPOSTO";

  static std::string Lado(std::string_view m, const char* lado) {
    std::string r(m);
    for (size_t p; (p = r.find("{}")) != std::string::npos;) r.replace(p, 2, lado);
    return r;
  }

  // Classe da alíquota do código de crédito (os dois últimos dígitos de 4.3.06.xyy).
  static std::string ClasseCredito(int cst, const std::string& natureza, int64_t aliqPis, bool porUnidade, int cfop) {
    if (porUnidade) return "03";
    if (cst >= 60 && cst <= 66) return "06";
    if (natureza == "4.3.07.18") return "04";
    if (cfop / 1000 == 3) return "08";
    if (aliqPis != 16500 && aliqPis != 6500) return "02";
    return "01";
  }

  void SomarCredito(int estab, const std::string& natureza, int cst, int64_t aliqPis, int64_t aliqCofins,
                    bool porUnidade, int cfop, int64_t base, int64_t pis, int64_t cofins, int64_t qtd = 0) {
    const std::string classe = ClasseCredito(cst, natureza, aliqPis, porUnidade, cfop);
    FCreditos[{estab, 15, natureza, cst, aliqPis, classe}].Somar(base, base, pis, qtd);
    FCreditos[{estab, 16, natureza, cst, aliqCofins, classe}].Somar(base, base, cofins, qtd);
  }

  void Entradas() {
    auto& cab = c("LCTOFISENT", Lado(kColsCab, "ENT"));
    auto& prod = c("LCTOFISENTPRODUTO", Lado(kColsProd, "ENT"));
    auto& pc = c("LCTOFISENTPISCOFINS", Lado(kColsPC, "ENT"));
    auto& cf = c("LCTOFISENTCFOP", Lado(kColsCfop, "ENT"));
    auto& compl_ = c("LCTOFISENTCOMPL",
                     "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT SEQ DATALCTOFIS CODOBS0450 COMPLOBS0450 CODIGOOBS "
                     "COMPLOBS CODIGOOPERACAOFIS");
    const int64_t alvo = FLinhas * 45 / 100;
    int64_t feitas = 0;
    while (feitas < alvo) {
      const int64_t chave = ++FChaveEnt;
      const TEstabDemo& e = SortearEstab();
      const TDateTime dia = Dia();
      // modelo: 55 mercadorias, 57 frete, 06 energia, 21 comunicação, 99 serviço, 98 outros documentos
      const size_t m = s.Peso({70, 8, 5, 3, 8, 6});
      static const char* modelos[] = {"55", "57", "06", "21", "99", "98"};
      const std::string modelo = modelos[m];
      int pessoa = static_cast<int>(s.Entre(11, kPessoas));
      const bool importacao = m == 0 && s.Chance(4);
      if (importacao) pessoa = static_cast<int>(s.Entre(2, 4));
      const bool mesmaUF = s.Chance(70);
      const int nItens = m == 0 ? static_cast<int>(std::min<int64_t>(s.Entre(1, 6), alvo - feitas)) : 1;
      int64_t totalDoc = 0;
      std::set<int> cfops;
      for (int seq = 1; seq <= nItens; ++seq) {
        const TProdutoDemo& p = FProdutos[static_cast<size_t>(s.Entre(0, static_cast<int64_t>(FProdutos.size()) - 1))];
        int cfop;
        std::string natureza;
        switch (m) {
          case 0:
            cfop = importacao ? 3102 : mesmaUF ? 1102 : 2102;
            natureza = s.Chance(60) ? "4.3.07.01" : "4.3.07.02";
            if (!importacao && s.Chance(5)) cfop = mesmaUF ? 1556 : 2556;  // uso e consumo
            break;
          case 1: cfop = mesmaUF ? 1353 : 2353; natureza = "4.3.07.07"; break;
          case 2: cfop = 1253; natureza = "4.3.07.04"; break;
          case 3: cfop = 1303; natureza = "4.3.07.13"; break;
          case 4: cfop = 1933999; natureza = "4.3.07.03"; break;
          default: cfop = 1949; natureza = s.Chance(50) ? "4.3.07.05" : "4.3.07.13"; break;
        }
        cfops.insert(cfop);
        const int64_t qtd = s.Entre(1, 200);
        const int64_t total = s.Entre(5000, 2000000);
        const int64_t desconto = s.Chance(20) ? Parte(total, 2, 100) : 0;
        const int64_t base = total - desconto;
        // CST e alíquotas do crédito conforme o regime da empresa
        int cst;
        switch (FPerfil) {
          case TPerfilDemo::pdNaoCumulativo: {
            static const int csts[] = {50, 51, 52, 56, 60, 70, 73, 98};
            cst = csts[s.Peso({70, 5, 3, 5, 2, 10, 3, 2})];
            break;
          }
          case TPerfilDemo::pdPresumido: cst = s.Chance(60) ? 70 : 98; break;
          default: {
            static const int csts[] = {50, 51, 53, 56, 70, 98};
            cst = csts[s.Peso({40, 5, 15, 15, 20, 5})];
            break;
          }
        }
        if (cfop == 1556 || cfop == 2556) cst = 98;
        const bool credito = cst >= 50 && cst <= 66;
        bool porUnidade = false;
        int64_t aliqPis = 0, aliqCofins = 0, pis = 0, cofins = 0, qtdPC = 0;
        if (credito) {
          if (importacao) {
            aliqPis = 21000, aliqCofins = 96500;
          } else if (cst == 60) {
            aliqPis = 9900, aliqCofins = 45600;  // crédito presumido agroindustrial
          } else if (p.PorUnidade && m == 0) {
            porUnidade = true;
            aliqPis = 1000 + s.Entre(0, 1500), aliqCofins = 4600 + s.Entre(0, 6900);  // R$ por unidade
          } else if (s.Chance(5)) {
            aliqPis = 8000, aliqCofins = 37000;
          } else {
            aliqPis = 16500, aliqCofins = 76000;
          }
          if (porUnidade) {
            qtdPC = qtd;
            pis = Tributo(qtd * 100, aliqPis);
            cofins = Tributo(qtd * 100, aliqCofins);
          } else {
            pis = Tributo(base, aliqPis);
            cofins = Tributo(base, aliqCofins);
          }
          SomarCredito(e.Codigo, natureza, cst, aliqPis, aliqCofins, porUnidade, cfop, porUnidade ? 0 : base, pis, cofins,
                       porUnidade ? qtd : 0);
          FMov[{e.Codigo, 15, cst, natureza, 0, cfop}].Somar(total, base, pis);
          FMov[{e.Codigo, 16, cst, natureza, 0, cfop}].Somar(total, base, cofins);
        }
        const int64_t aliqIcms = m == 4 ? 0 : mesmaUF ? 180000 : 120000;
        const int64_t icms = Tributo(base, aliqIcms);
        prod.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(p.Codigo), I(seq), D(dia), I(cfop), T(importacao ? "100" : "000"),
                    T(p.PorUnidade ? "LT" : "UN"), I(qtd), V(total), V(desconto), V(aliqIcms ? base : 0), A(aliqIcms),
                    V(icms), V(0), V(0), V(0), A(0), V(0), V(0), A(0), V(0), V(m == 4 ? Tributo(base, 50000) : 0),
                    T("49"), I(0), m == 1 ? I(2) : N()});
        pc.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(p.Codigo), I(seq), D(dia), I(cfop), I(cst), I(cst),
                  A(aliqPis), A(aliqCofins), I(qtdPC), V(total), V(desconto), V(credito ? base : 0), V(pis), V(cofins),
                  credito ? T(natureza) : N(), credito ? T(natureza) : N(), N(), N(),
                  T(m == 0 ? "1.1.3.01.001" : "3.2.1.01.00" + std::to_string(m))});
        totalDoc += total - desconto;
        if (FAmostraEntradas.size() < 400 && credito && m == 0 && !porUnidade)
          FAmostraEntradas.push_back({chave, p.Codigo, seq, e.Codigo, cst, cfop, aliqPis, aliqCofins});
        Aviso(++feitas + FLancamentos);
      }
      int seqCfop = 0;
      for (int cfop : cfops)
        cf.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(++seqCfop), D(dia), I(cfop), I(m == 4 ? 2 : 1), V(totalDoc),
                  V(0), V(0), V(m == 4 ? 0 : Tributo(totalDoc, mesmaUF ? 180000 : 120000))});
      if (m == 3)
        c("LCTOFISENTSPEDD500", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT DATALCTOFIS VALORTERCEIRO")
            .Linha({I(FEmpresa), I(e.Codigo), I(chave), D(dia), V(0)});
      if (importacao)
        c("LCTOFISENTSPEDC120",
          "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT SEQ CODIGOPRODUTO DATALCTOFIS CDDOCIMP NUMDOCIMP VLRPISIMP "
          "VLRCOFINSIMP NUMACDRAW")
            .Linha({I(FEmpresa), I(e.Codigo), I(chave), I(1), I(FProdutos[0].Codigo), D(dia), I(0),
                    T("24/" + s.Digitos(7)), V(Tributo(totalDoc, 21000)), V(Tributo(totalDoc, 96500)), N()});
      if (s.Chance(15))
        compl_.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(1), D(dia), T("OBS001"), T("Compra para revenda"),
                      T("OBS001"), T("Compra para revenda"), I(16003)});
      const TDateTime emissao = dia - static_cast<double>(s.Entre(0, 3));
      cab.Linha({I(FEmpresa), I(e.Codigo), I(chave), D(dia), I(pessoa), I(s.Entre(1, 999999)), N(), T("NF"),
                 T(m == 0 ? "1" : ""), T(""), D(emissao < FInicio - 5 ? FInicio : emissao), N(), V(totalDoc), V(0), V(0),
                 V(0), V(0), V(0), V(0), T(importacao ? "0" : "1"), T(modelo), modelo == "55" || modelo == "57" ? T(Chave44()) : N(),
                 N(), I(m == 1 ? 0 : 9), I(s.Chance(50) ? 1 : 0), I(0), T("0"), N(), N(), N(), N()});
    }
    FLancamentos += feitas;
  }

  // ------------------------------------------------------------ saídas
  struct TRegraSaida {
    int CST;
    std::string TipoDebito;  // tabela 4.3.05 (contribuição) ou natureza da receita isenta
    int64_t AliqPis, AliqCofins;
  };

  TRegraSaida RegraSaida(const TProdutoDemo& p, int cfop) {
    if (cfop / 1000 == 7) return {8, "4.3.14.101", 0, 0};  // exportação
    if (p.Monofasico) return {4, "4.3.10.101", 0, 0};
    switch (FPerfil) {
      case TPerfilDemo::pdPresumido:
        if (s.Chance(12)) return {6, "4.3.11.101", 0, 0};
        return {1, "4.3.05.51", 6500, 30000};
      case TPerfilDemo::pdMisto:
        switch (s.Peso({50, 30, 8, 7, 5})) {
          case 0: return {1, "4.3.05.01", 16500, 76000};
          case 1: return {1, "4.3.05.51", 6500, 30000};
          case 2: return {6, "4.3.11.101", 0, 0};
          case 3: return {7, "4.3.13.101", 0, 0};
          default: return {9, "4.3.16.101", 0, 0};
        }
      default:
        if (p.PorUnidade) return {3, "4.3.05.03", 1000 + 37 * (p.Codigo % 10), 4600 + 171 * (p.Codigo % 10)};
        switch (s.Peso({80, 5, 5, 3, 2, 5})) {
          case 0: return {1, "4.3.05.01", 16500, 76000};
          case 1: return {2, "4.3.05.02", 21000, 96500};
          case 2: return {6, "4.3.11.101", 0, 0};
          case 3: return {7, "4.3.13.101", 0, 0};
          case 4: return {9, "4.3.16.101", 0, 0};
          default: return {1, "4.3.05.01", 16500, 76000};
        }
    }
  }

  void Saidas() {
    auto& cab = c("LCTOFISSAI", Lado(kColsCab, "SAI"));
    auto& prod = c("LCTOFISSAIPRODUTO", Lado(kColsProd, "SAI"));
    auto& pc = c("LCTOFISSAIPISCOFINS", Lado(kColsPC, "SAI"));
    auto& cf = c("LCTOFISSAICFOP", Lado(kColsCfop, "SAI"));
    auto& ref = c("LCTOFISSAISPEDC113", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI SEQ DATALCTOFIS CHAVELCTOFISENTREF");
    auto& dup = c("DUPLICATASAI",
                  "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI CHAVELCTOFISSAI CODIGOPESSOA CODIGOINDTITULO "
                  "NUMERODUPLICATA DATAEMISSAO VALORDUPLICATA OBSERVDUPLICATA");
    auto& parc = c("DUPLICATASAIPARCELA",
                   "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQPARCELA DATAVENCIMENTO VALORPARCELA");
    auto& pgto = c("DUPLICATASAIPGTO",
                   "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQ SEQPARCELA DATAPGTO DATALCTOFIS VALORPAGO VALORDESCONTO");
    const int64_t alvo = FLinhas - FLinhas * 45 / 100;
    int64_t feitas = 0;
    size_t proximaDevolucao = 0;
    bool vendaAnteriorFeita = false;
    while (feitas < alvo) {
      const int64_t chave = ++FChaveSai;
      // tipo: 0 venda, 1 consumidor (65), 2 serviço (99), 3 órgão público, 4 devolução de compra,
      // 5 perda (5927), 6 exportação, 7 SAT (59), 8 cupom ECF (2D)
      const bool temEquip = FEmpresa % 3 == 1;
      size_t tipo = s.Peso({62, 12, 6, EhEFD() ? 4 : 0, FAmostraEntradas.empty() ? 0 : 3, 2, 3, temEquip ? 4 : 0,
                            temEquip ? 4 : 0});
      if (tipo == 4 && proximaDevolucao >= FAmostraEntradas.size()) tipo = 0;
      // a primeira venda a órgão público é do mês anterior e recebida neste: diferido de período anterior
      const bool vendaAnterior = tipo == 3 && !vendaAnteriorFeita;
      if (vendaAnterior) vendaAnteriorFeita = true;
      const TEstabDemo& e = tipo >= 7 ? FEstabs[0] : SortearEstab();
      const TDateTime dia = vendaAnterior ? FInicio - 10 : Dia();
      int pessoa = static_cast<int>(s.Entre(11, kPessoas));
      if (tipo == 1 || tipo >= 7) pessoa = kConsumidorFinal;
      if (tipo == 3) pessoa = static_cast<int>(s.Entre(5, 10));
      if (tipo == 6) pessoa = static_cast<int>(s.Entre(2, 4));
      static const char* modelos[] = {"55", "65", "99", "55", "55", "55", "55", "59", "2D"};
      const std::string modelo = modelos[tipo];
      const bool mesmaUF = s.Chance(65);
      const TLinhaEntrada* origem = tipo == 4 ? &FAmostraEntradas[proximaDevolucao++] : nullptr;
      const int nItens = tipo == 0 || tipo == 1 || tipo == 3 ? static_cast<int>(std::min<int64_t>(s.Entre(1, 6), alvo - feitas)) : 1;
      const int estabSCP = FPerfil == TPerfilDemo::pdNaoCumulativo && e.Codigo == 1 && s.Chance(5) ? 3 : 0;
      const int estabApur = estabSCP ? estabSCP : e.Codigo;
      int64_t totalDoc = 0, basePisDoc = 0;
      std::set<int> cfops;
      for (int seq = 1; seq <= nItens; ++seq) {
        const TProdutoDemo& p = origem ? FProdutos[static_cast<size_t>(origem->Produto - 1)]
                                       : FProdutos[static_cast<size_t>(s.Entre(0, static_cast<int64_t>(FProdutos.size()) - 1))];
        int cfop;
        switch (tipo) {
          case 2: cfop = 5933; break;
          case 4: cfop = mesmaUF ? 5202 : 6202; break;
          case 5: cfop = 5927; break;
          case 6: cfop = 7102; break;
          case 7: case 8: cfop = 5102; break;
          default: cfop = p.Monofasico ? (mesmaUF ? 5405 : 6404) : (mesmaUF ? 5102 : 6102);
        }
        if (e.Municipio->UF == std::string("DF") && tipo == 2) cfop = 9102;  // serviço no DF: CFOP de ISS
        cfops.insert(cfop);
        TRegraSaida r;
        if (tipo == 4) r = {49, "4.3.05.00", origem->AliqPis, origem->AliqCofins};
        else if (tipo == 5) r = {49, "4.3.08.06", 16500, 76000};
        else r = RegraSaida(p, cfop);
        const bool porUnidade = r.CST == 3;
        const int64_t qtd = s.Entre(1, 120);
        const int64_t total = s.Entre(3000, 1500000);
        const int64_t desconto = s.Chance(15) ? Parte(total, 3, 100) : 0;
        const int64_t receita = total - desconto;
        const bool tributada = r.AliqPis > 0;
        const int64_t base = tributada && !porUnidade ? receita : 0;
        const int64_t pis = porUnidade ? Tributo(qtd * 100, r.AliqPis) : Tributo(base, r.AliqPis);
        const int64_t cofins = porUnidade ? Tributo(qtd * 100, r.AliqCofins) : Tributo(base, r.AliqCofins);
        const std::string conta = tributada ? "3.1.1.01.001" : "3.1.1.01.002";
        prod.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(p.Codigo), I(seq), D(dia), I(cfop), T("000"),
                    T(p.PorUnidade ? "LT" : "UN"), I(qtd), V(total), V(desconto), V(tipo == 2 ? 0 : receita),
                    A(tipo == 2 ? 0 : 180000), V(tipo == 2 ? 0 : Tributo(receita, 180000)), V(0), V(0), V(0), A(0), V(0), V(0),
                    A(0), V(0), V(tipo == 2 ? Tributo(receita, 50000) : 0), T("99"), I(0), N()});
        pc.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(p.Codigo), I(seq), D(dia), I(cfop), I(r.CST), I(r.CST),
                  A(r.AliqPis), A(r.AliqCofins), I(porUnidade ? qtd : 0), V(receita), V(desconto), V(base), V(pis),
                  V(cofins), N(), N(), T(r.TipoDebito), T(r.TipoDebito), T(conta)});
        if (origem) ref.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(seq), D(dia), I(origem->Chave)});
        // totais do mês: as devoluções e perdas não entram no débito (4.3.05.00 e 4.3.08.06)
        if (!vendaAnterior && tipo != 4 && tipo != 5) {
          if (r.TipoDebito.rfind("4.3.05.", 0) == 0) {
            FDebitos[{estabApur, 15, r.TipoDebito, r.AliqPis, porUnidade}].Somar(receita, base, pis, porUnidade ? qtd : 0);
            FDebitos[{estabApur, 16, r.TipoDebito, r.AliqCofins, porUnidade}].Somar(receita, base, cofins, porUnidade ? qtd : 0);
          } else {
            FIsentas[{estabApur, 15, r.CST, r.TipoDebito, conta}].Somar(receita, 0, 0);
            FIsentas[{estabApur, 16, r.CST, r.TipoDebito, conta}].Somar(receita, 0, 0);
          }
          FMov[{estabApur, 15, r.CST, r.TipoDebito, 1, cfop}].Somar(receita, base, pis);
          FMov[{estabApur, 16, r.CST, r.TipoDebito, 1, cfop}].Somar(receita, base, cofins);
          FReceita[r.CST == 8 ? 2 : tributada && r.TipoDebito < "4.3.05.50" ? 0 : 1] += receita;
        }
        totalDoc += receita;
        basePisDoc += base;
        Aviso(++feitas + FLancamentos);
      }
      int seqCfop = 0;
      for (int cfop : cfops)
        cf.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(++seqCfop), D(dia), I(cfop), I(tipo == 2 ? 2 : 1), V(totalDoc),
                  V(0), V(0), V(tipo == 2 ? 0 : Tributo(totalDoc, 180000))});
      const bool aPrazo = tipo == 0 || tipo == 3 ? s.Chance(tipo == 3 ? 100 : 45) : false;
      if (aPrazo) {
        const int64_t chaveDup = ++FChaveDup;
        dup.Linha({I(FEmpresa), I(e.Codigo), I(chaveDup), I(chave), I(pessoa), I(s.Entre(1, 4)),
                   T(std::to_string(chave) + "/A"), D(dia), V(totalDoc), s.Chance(10) ? T("PAGAMENTO VIA BOLETO") : N()});
        const int nParc = static_cast<int>(s.Entre(1, 3));
        int64_t resto = totalDoc;
        for (int k = 1; k <= nParc; ++k) {
          const int64_t valor = k == nParc ? resto : totalDoc / nParc;
          resto -= valor;
          const TDateTime venc = dia + 10.0 * k;
          parc.Linha({I(FEmpresa), I(e.Codigo), I(chaveDup), I(k), D(venc), V(valor)});
          // recebido no mês quando o vencimento cai nele (e às vezes antes, com desconto)
          if (venc <= FFim && s.Chance(tipo == 3 ? 60 : 85)) {
            const int64_t descPg = s.Chance(10) ? Parte(valor, 1, 100) : 0;
            pgto.Linha({I(FEmpresa), I(e.Codigo), I(chaveDup), I(k), I(k), D(std::max(venc, FInicio)), D(dia),
                        V(valor - descPg), V(descPg)});
            if (tipo == 3) FRecebidoOrgao[chave] += valor - descPg;
          }
        }
      }
      if (tipo == 3) VendaOrgaoPublico(e.Codigo, chave, dia, totalDoc, basePisDoc, vendaAnterior);
      static const char* especies[] = {"NF", "NFCE", "NFS", "NF", "NF", "NF", "NF", "CFE", "CF"};
      cab.Linha({I(FEmpresa), I(e.Codigo), I(chave), D(dia), I(pessoa), I(chave), tipo >= 7 ? I(chave + 20) : N(),
                 T(especies[tipo]), T(tipo == 2 ? "U" : "1"), T(""), D(dia), tipo == 2 ? D(dia) : N(), V(totalDoc), V(0), V(0),
                 V(0), V(0), V(0), V(0), T("0"), T(modelo), modelo == "55" || modelo == "65" ? T(Chave44()) : N(), N(),
                 I(9), I(aPrazo ? 1 : 0), I(0), T("0"), origem ? T("DEVOLUÇÃO DA NF DE ENTRADA " + std::to_string(origem->Chave)) : N(),
                 estabSCP ? I(estabSCP) : N(), tipo == 8 ? I(FEmpresa * 1000 + DayOf(dia)) : N(), tipo == 7 ? I(1) : N()});
      if (tipo == 8) FDiasECF.insert(DayOf(dia));
    }
    for (int d : FDiasECF)
      c("LCTOFISSAIREDUCAOZ",
        "CODIGOEMPRESA CODIGOESTAB CODIGOREDUCAOZ CODIGOIMPRESSORAFISCAL DATALCTOFIS CONTADORREINICIOOPERACAO "
        "CONTADORREDUCAOZ CUPOMFINAL TOTALGERAL TOTALBRUTO")
          .Linha({I(FEmpresa), I(1), I(FEmpresa * 1000 + d), I(1), D(FInicio + d - 1), I(3), I(400 + d), I(d * 100),
                  V(100000000 + d * 100000), V(d * 100000)});
    FLancamentos += feitas;
  }

  // Venda a órgão público: retenção na fonte (PIS 0,65%, COFINS 3%) e pagamentos do mês.
  void VendaOrgaoPublico(int estab, int64_t chave, TDateTime dia, int64_t total, int64_t base, bool anterior) {
    const int64_t retPis = Tributo(base, 6500), retCofins = Tributo(base, 30000);
    c("LCTOFISSAIRETIDO",
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI DATALCTOFIS TIPORETENCAO BASECALCULO VALORPIS VALORCOFINS VALORCSLL "
      "VALORIRRF DATAPGTOPISCOFINSCSLL")
        .Linha({I(FEmpresa), I(estab), I(chave), D(dia), I(1), V(base), V(retPis), V(retCofins), V(Tributo(base, 10000)),
                V(Tributo(base, 12000)), D(dia + 15)});
    const int64_t recebido = anterior ? total : FRecebidoOrgao[chave];
    if (recebido > 0) {
      auto& pg = c("LCTOFISSAIRETIDOPAGAMENTO",
                   "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI TIPOIMPOSTO SEQ DATAPAGAMENTO VALOR BASECALCULO");
      const TDateTime quando = anterior ? FInicio + 4 : std::min(dia + 12, FFim);
      const int64_t basePaga = Parte(base, recebido, total);
      pg.Linha({I(FEmpresa), I(estab), I(chave), I(24), I(1), D(quando), V(Tributo(basePaga, 6500)), V(basePaga)});
      pg.Linha({I(FEmpresa), I(estab), I(chave), I(25), I(1), D(quando), V(Tributo(basePaga, 30000)), V(basePaga)});
      FRetido[{estab, 15}] += Tributo(basePaga, 6500);
      FRetido[{estab, 16}] += Tributo(basePaga, 30000);
    }
    FDiferido.push_back({estab, anterior, total - recebido, base, recebido, dia});
  }

  // ------------------------------------------------------------ demais documentos (F100) e outras fontes
  void DemaisDocumentos() {
    if (!EhEFD()) return;
    auto& f = c("EFDF100DEMAISDOC",
                "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS INDOPER CODIGOPESSOA CODIGOPRODUTO CODIGOCENTROCUSTO VALOROPER "
                "CST CSTCOFINS ALIQPIS ALIQCOFINS BASECALCULO VALORPIS VALORCOFINS TIPOCREDITO TIPOCREDITOCOFINS TIPODEBITO "
                "TIPODEBITOCOFINS ORIGEMCREDITO COMPENSACRED COMPENSARETENCAO CONTACTB DESCRICAO");
    int seq = 0;
    for (const auto& e : FEstabs) {
      // aluguel de prédio (crédito), serviço importado (origem 1), receita financeira e receita isenta
      const int64_t aluguel = s.Entre(300000, 1500000);
      const int cstAluguel = FPerfil == TPerfilDemo::pdMisto ? 56 : 50;
      f.Linha({I(FEmpresa), I(e.Codigo), I(++seq), D(FInicio + 4), I(0), I(s.Entre(11, kPessoas)), N(), T("CC1"),
               V(aluguel), I(cstAluguel), I(cstAluguel), A(16500), A(76000), V(aluguel), V(Tributo(aluguel, 16500)),
               V(Tributo(aluguel, 76000)), T("4.3.07.05"), T("4.3.07.05"), N(), N(), I(0), T("1"), T("1"),
               T("4.1.2.01.003"), T("ALUGUEL DO PRÉDIO")});
      SomarCredito(e.Codigo, "4.3.07.05", cstAluguel, 16500, 76000, false, 0, aluguel, Tributo(aluguel, 16500),
                   Tributo(aluguel, 76000));
      if (e.Codigo == 1) {
        const int64_t servico = s.Entre(200000, 800000);
        f.Linha({I(FEmpresa), I(1), I(++seq), D(FInicio + 9), I(0), I(2), N(), T("CC2"), V(servico), I(50), I(50),
                 A(16500), A(76000), V(servico), V(Tributo(servico, 16500)), V(Tributo(servico, 76000)), T("4.3.07.03"),
                 T("4.3.07.03"), N(), N(), I(1), T("1"), T("1"), T("4.1.2.01.004"), T("SERVIÇO CONTRATADO NO EXTERIOR")});
        SomarCredito(1, "4.3.07.03", 50, 16500, 76000, false, 3000, servico, Tributo(servico, 16500),
                     Tributo(servico, 76000));
      }
      const int64_t financeira = s.Entre(50000, 400000);
      f.Linha({I(FEmpresa), I(e.Codigo), I(++seq), D(FInicio + 14), I(1), N(), N(), T("CC1"), V(financeira), I(1), I(1),
               A(16500), A(76000), V(financeira), V(Tributo(financeira, 16500)), V(Tributo(financeira, 76000)), N(), N(),
               T("4.3.05.01"), T("4.3.05.01"), I(0), T("0"), T("1"), T("3.3.1.01.001"), T("RECEITA DE ALUGUEL DE SALAS")});
      FDebitos[{e.Codigo, 15, "4.3.05.01", 16500, false}].Somar(financeira, financeira, Tributo(financeira, 16500));
      FDebitos[{e.Codigo, 16, "4.3.05.01", 76000, false}].Somar(financeira, financeira, Tributo(financeira, 76000));
      FReceita[0] += financeira;
      const int64_t isenta = s.Entre(20000, 300000);
      f.Linha({I(FEmpresa), I(e.Codigo), I(++seq), D(FInicio + 19), I(2), N(), N(), T("CC1"), V(isenta), I(6), I(6), A(0),
               A(0), V(0), V(0), V(0), N(), N(), T("4.3.11.101"), T("4.3.11.101"), I(0), T("1"), T("1"), T("3.3.1.01.002"),
               T("RECEITA DE APLICAÇÃO FINANCEIRA")});
      FIsentas[{e.Codigo, 15, 6, "4.3.11.101", "3.3.1.01.002"}].Somar(isenta, 0, 0);
      FIsentas[{e.Codigo, 16, 6, "4.3.11.101", "3.3.1.01.002"}].Somar(isenta, 0, 0);
      FReceita[1] += isenta;
    }

    // estoque de abertura da matriz: 1/12 do crédito presumido por mês
    const int64_t estoque = s.Entre(5000000, 20000000);
    const int64_t mensal = estoque / 12;
    c("EFDCREDPRESESTOQABERT",
      "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ VLRTOTEST VLRESTIMP VLRBCEST VLRBCMENEST CSTPIS ALIQPIS VLRCREDPIS "
      "CSTCOFINS ALIQCOFINS VLRCREDCOFINS DESCEST CONTACTB TIPOAPURACAO")
        .Linha({I(FEmpresa), I(1), D(FInicio), I(1), V(estoque), V(0), V(estoque), V(mensal), I(50), A(6500),
                V(Tributo(estoque, 6500)), I(50), A(30000), V(Tributo(estoque, 30000)), T("ESTOQUE DE MERCADORIAS"),
                T("1.1.3.01.001"), I(0)});
    FCreditos[{1, 15, "4.3.07.18", 50, 6500, "04"}].Somar(mensal, mensal, Tributo(estoque, 6500) / 12);
    FCreditos[{1, 16, "4.3.07.18", 50, 30000, "04"}].Somar(mensal, mensal, Tributo(estoque, 30000) / 12);

    // exclusões da base, deduções diversas, exclusões de cooperativa e folha
    auto& excl = c("EFDDEDUCAOEXCLUSAO",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET INFOCOMPL");
    excl.Linha({I(FEmpresa), I(1), D(FInicio + 20), I(1), I(101), I(1), A(16500), A(76000), V(s.Entre(10000, 90000)),
                T("VENDAS CANCELADAS")});
    excl.Linha({I(FEmpresa), I(1), D(FInicio + 20), I(2), I(1020101), I(1), A(16500), A(76000), V(s.Entre(5000, 30000)),
                T("EXCLUSÃO ESPECÍFICA")});
    auto& ded = c("EFDDEDUCOESDIVERSAS",
                  "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDORIDED VLDEDPIS VLDEDCOFINS VLBCOPER CNPJ INFCOMP "
                  "TIPOAPURACAO INDNATDED");
    const int64_t dedBase = s.Entre(100000, 500000);
    const int natDed = FPerfil == TPerfilDemo::pdMisto ? 1 : 0;
    ded.Linha({I(FEmpresa), I(1), D(FInicio + 24), I(1), I(1), V(Tributo(dedBase, 6500)), V(Tributo(dedBase, 30000)),
               V(dedBase), T(CNPJ(90000000 + FEmpresa, 1)), T("CRÉDITO PRESUMIDO DE ST"), I(0), I(natDed)});
    FDeducao[{15, natDed}] += Tributo(dedBase, 6500);
    FDeducao[{16, natDed}] += Tributo(dedBase, 30000);
    if (FPerfil == TPerfilDemo::pdMisto) {
      auto& coop = c("EFDEXCLUCOOP",
                     "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO TIPOAPURACAO TIPODEBITO INDTIPCOOP VLEXCCOOPGER "
                     "VLEXCESPCOOP");
      const int64_t ger = s.Entre(50000, 200000), esp = s.Entre(10000, 50000);
      coop.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(1), I(15), I(0), T("4.3.05.01"), I(1), V(ger), V(esp)});
      coop.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(2), I(16), I(0), T("4.3.05.01"), I(1), V(ger), V(esp)});
      FCoop = {ger, esp};
      const int64_t folha = s.Entre(20000000, 60000000), exclusao = Parte(folha, 5, 100);
      c("EFDPISPASEPFOLHA", "CODIGOEMPRESA CODIGOESTAB PERIODO ALIQUOTA TOTALFOLHA EXCLUSAO BASECALCULO VALORPISPASEP")
          .Linha({I(FEmpresa), I(1), D(FInicio), A(10000), V(folha), V(exclusao), V(folha - exclusao),
                  V(Tributo(folha - exclusao, 10000))});
    }
  }

  // ------------------------------------------------------------ ajustes
  void Ajustes() {
    if (EhEFD()) {
      auto& aj = c("EFDAJUSTEPISCOFINS",
                   "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO "
                   "DESCAJUSTE ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS TIPOAPURACAO");
      auto& det = c("EFDAJUSTEPISCOFINSDET",
                    "CODIGOEMPRESA CODIGOESTAB SEQAJUSTE SEQ DATAOPERACAO QUANTIDADE CSTPIS CSTCOFINS BASECALCULOPISCOFINS "
                    "VLRAJUSTEPIS VLRAJUSTECOFINS DESCAJUSTE CODIGOTABCTBFIS CONTACTB DESCRCOMPL");
      // 1: redução de crédito com detalhe por CST; 2: acréscimo de contribuição sem detalhe
      const int64_t b1 = s.Entre(100000, 400000), b2 = s.Entre(20000, 80000);
      aj.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 25), I(0), T("0"), T("4.3.06.101"), T("4.3.08.06"), T(""),
                T("ESTORNO DE CRÉDITO DE MERCADORIA FURTADA"), A(16500), A(76000), V(Tributo(b1, 16500)),
                V(Tributo(b1, 76000)), I(0)});
      det.Linha({I(FEmpresa), I(1), I(1), I(1), D(FInicio + 25), I(0), I(50), I(50), V(b1), V(Tributo(b1, 16500)),
                 V(Tributo(b1, 76000)), T("MERCADORIA FURTADA"), I(1), T("1.1.3.01.001"), T("BOLETIM DE OCORRÊNCIA")});
      aj.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 26), I(1), T("1"), T("4.3.05.01"), T("4.3.08.05"), T("PA 123/2023"),
                T("DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR"), A(16500), A(76000), V(Tributo(b2, 16500)),
                V(Tributo(b2, 76000)), I(0)});
      FAjustes.push_back({0, "0", "4.3.08.06", Tributo(b1, 16500), Tributo(b1, 76000), b1});
      FAjustes.push_back({1, "1", "4.3.08.05", Tributo(b2, 16500), Tributo(b2, 76000), 0});

      auto& abc = c("EFDAJUSTEBASECALCCONTRIBAPUR",
                    "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS INDAJUSTE CODIGOAJUSTE VALORAJUSTE INDAPROPRIACAOAJUSTE "
                    "NUMPROCREF DESCRAJUSTE CONTACTB");
      FAjusteBC = s.Entre(50000, 300000);
      abc.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 27), I(0), T("4.3.18.01"), V(FAjusteBC), I(1),
                 T("0012345-67.2019.4.03.6100"), T("EXCLUSÃO DO ICMS DESTACADO"), I(31101001)});
      abc.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 27), I(1), T("4.3.18.03"), V(s.Entre(10000, 50000)), I(2), T(""),
                 T("RECEITA NÃO ESCRITURADA"), I(31101002)});
    }
    if (FPerfil == TPerfilDemo::pdNaoCumulativo) {
      c("LUCROREALAJUSTEPISCOFINS",
        "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO DESCAJUSTE "
        "ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS")
          .Linha({I(FEmpresa), I(1), I(1), D(FInicio + 25), I(0), T("0"), T("4.3.06.101"), T("4.3.08.06"), T(""),
                  T("ESTORNO DE CRÉDITO"), A(16500), A(76000), V(1650), V(7600)});
      c("LUCROREALDEDUCAODIVERSAS",
        "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDORIDED VLDEDPIS VLDEDCOFINS VLBCOPER CNPJ INFCOMP INDNATDED")
          .Linha({I(FEmpresa), I(1), D(FInicio + 24), I(1), I(1), V(650), V(3000), V(100000), T(""), T("DEDUÇÃO"), I(0)});
    }
    if (FPerfil == TPerfilDemo::pdPresumido) {
      auto& aj = c("LUCROPRESAJUSTEPISCOFINS",
                   "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO "
                   "DESCAJUSTE ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS");
      const int64_t imob = s.Entre(100000, 500000);
      aj.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 20), I(1), T("0"), T("4.3.05.54"), T("4.3.08.05"), T(""),
                T("REDUÇÃO DE CONTRIBUIÇÃO DA ATIVIDADE IMOBILIÁRIA"), A(6500), A(30000), V(Tributo(imob, 6500)),
                V(Tributo(imob, 30000))});
      aj.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 21), I(1), T("1"), T("4.3.05.51"), T("4.3.08.01"),
                T("0012345-67.2019.4.03.6100"), T("AÇÃO JUDICIAL"), A(6500), A(30000), V(1300), V(6000)});
      c("LUCROPRESDEDUCAODIVERSAS",
        "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDORIDED VLDEDPIS VLDEDCOFINS VLBCOPER CNPJ INFCOMP")
          .Linha({I(FEmpresa), I(1), D(FInicio + 24), I(1), I(1), V(1950), V(9000), V(300000), T(""), T("DEDUÇÃO")});
      c("LUCROPRESDEDUCAOEXCLUSAO",
        "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET INFOCOMPL")
          .Linha({I(FEmpresa), I(1), D(FInicio + 20), I(1), I(101), I(1), A(6500), A(30000), V(s.Entre(10000, 50000)),
                  T("VENDAS CANCELADAS")});
    }
  }

  // ------------------------------------------------------------ atividade imobiliária
  void Imobiliario() {
    if (FPerfil != TPerfilDemo::pdNaoCumulativo) return;
    auto& un = c("EFDUNIDIMOBILIARIA",
                 "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB INDOPER UNIDIMOB IDENTEMP DESCUNIDIMOB NUMCONT CNPJCPFADQU DATAOPER "
                 "VLTOTVEND");
    const int64_t venda = s.Entre(30000000, 60000000);
    un.Linha({I(FEmpresa), I(1), T("IM-0001"), I(1), I(1), T("RESIDENCIAL DEMO"), T("APTO 101"), T("CT-2023-01"),
              T(CNPJ(55555555, 1)), D(IncMonth(FInicio, -6)), V(venda)});
    un.Linha({I(FEmpresa), I(1), T("IM-0002"), I(1), I(1), T("RESIDENCIAL DEMO"), T("APTO 102"), T("CT-2023-02"),
              T(CNPJ(55555556, 1)), D(IncMonth(FInicio, -4)), V(venda + 500000)});
    const int64_t recebido = venda / 10;
    c("EFDUNIDIMOBVENDIDA",
      "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA TIPODEBITO TIPODEBITOPIS VLTOTREC VLRECACUM VLBC VLPIS "
      "VLCOFINS INDNATEMP CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS")
        .Linha({I(FEmpresa), I(1), T("IM-0001"), D(FInicio), I(1), T("4.3.05.01"), T("4.3.05.01"), V(recebido),
                V(recebido * 3), V(recebido), V(Tributo(recebido, 16500)), V(Tributo(recebido, 76000)), I(1), I(1), I(1),
                A(16500), A(76000)});
    FDebitos[{1, 15, "4.3.05.01", 16500, false}].Somar(recebido, recebido, Tributo(recebido, 16500));
    FDebitos[{1, 16, "4.3.05.01", 76000, false}].Somar(recebido, recebido, Tributo(recebido, 76000));
    FReceita[0] += recebido;
    const int64_t custo = recebido / 2;
    c("EFDUNIDIMOBCUSTOINC",
      "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA TIPOCREDITO TIPOCREDITOPIS VLCUSINCACUANT VLCUSINCPERESC "
      "VLCUSINCACUTOT VLEXCBCCUSINCACU VLBCCUSINC VLCREDPISDESC VLCREDCOFINSDESC CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS")
        .Linha({I(FEmpresa), I(1), T("IM-0001"), D(FInicio), I(1), T("4.3.07.15"), T("4.3.07.15"), V(custo * 4), V(custo),
                V(custo * 5), V(0), V(custo), V(Tributo(custo, 16500)), V(Tributo(custo, 76000)), I(50), I(50), A(16500),
                A(76000)});
    const int64_t orcado = recebido / 3;
    c("EFDUNIDIMOBCUSTOORC",
      "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA TIPOCREDITO TIPOCREDITOPIS VLCUSORC VLEXC VLCUSORCEXC "
      "VLBCCRED VLCREDPISUTIL VLCREDCOFINSUTIL CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS")
        .Linha({I(FEmpresa), I(1), T("IM-0002"), D(FInicio), I(1), T("4.3.07.16"), T("4.3.07.16"), V(orcado * 6), V(0),
                V(orcado * 6), V(orcado), V(Tributo(orcado, 16500)), V(Tributo(orcado, 76000)), I(50), I(50), A(16500),
                A(76000)});
    // atividade imobiliária: crédito tipo 109 (custo incorrido e orçado)
    FCreditos[{1, 15, "4.3.07.15", 50, 0, "09"}].Somar(custo + orcado, custo + orcado,
                                                        Tributo(custo, 16500) + Tributo(orcado, 16500));
    FCreditos[{1, 16, "4.3.07.15", 50, 0, "09"}].Somar(custo + orcado, custo + orcado,
                                                        Tributo(custo, 76000) + Tributo(orcado, 76000));
    c("EFDINCORPIMOBRET",
      "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ NUMCADIMOB VLRECEITA VLRECFIN VLBCRET ALIQRET VLRECUNI DATARECEB CODREC")
        .Linha({I(FEmpresa), I(1), D(FInicio + 15), I(1), T("IM-0002"), V(recebido), V(0), V(recebido), A(40000),
                V(Tributo(recebido, 40000)), D(FInicio + 15), T("4095")});
  }

  // ------------------------------------------------------------ ativo imobilizado
  void Patrimonio() {
    if (!EhEFD()) return;
    auto& bem = c("PATBEM",
                  "CODIGOEMPRESA NUMEROBEM CODIGOESTAB DESCRICAOBEM ORIGEMBEM DATAAQUISICAO VALORAQUISICAO INDUTILBEM");
    auto& cfg = c("PATCFGDACON",
                  "CODIGOEMPRESA NUMEROBEM DATAINICIAL DATAFINAL TIPODACONCREDITO TIPOCREDITO TIPOAPURACAO CSTPIS CSTCOFINS "
                  "ALIQPIS ALIQCOFINS NUMEROPARCELAS");
    auto& cred = c("PATCREDITODACON",
                   "CODIGOEMPRESA CODIGOESTAB NUMEROBEM PERIODO CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS QUOTAMENSAL "
                   "VLRBCCREDITO CREDITOPIS CREDITOCOFINS");
    auto& cta = c("PATBEMCONTACONTABIL",
                  "CODIGOEMPRESA CODIGOESTAB NUMEROBEM DATAINICIAL CODIGOCENTROCUSTO CONTACTB");
    static const char* descricoes[] = {"MÁQUINA INJETORA", "EMPILHADEIRA", "GALPÃO INDUSTRIAL", "TORNO CNC",
                                       "SERVIDOR DE DADOS", "VEÍCULO DE CARGA"};
    for (int b = 1; b <= 6; ++b) {
      const int estab = b <= 4 ? 1 : FEstabs.back().Codigo == 3 ? 2 : FEstabs.back().Codigo;
      const int64_t valor = s.Entre(5000000, 80000000);
      // 1 depreciação (F120), 6 depreciação de edificação, 7 acréscimo; 9 e 10 aquisição (F130)
      static const int tipos[] = {1, 1, 6, 7, 9, 10};
      const int tipo = tipos[b - 1];
      const int origem = b == 4 ? 1 : 0;
      const int cst = FPerfil == TPerfilDemo::pdMisto && b % 2 ? 56 : 50;
      const int parcelas = tipo >= 9 ? 48 : 120;
      bem.Linha({I(FEmpresa), I(b), I(estab), T(descricoes[b - 1]), I(origem), D(IncMonth(FInicio, -b * 3)), V(valor), I(1)});
      cfg.Linha({I(FEmpresa), I(b), D(IncMonth(FInicio, -b * 3)), N(), I(tipo),
                 T(tipo == 6 ? "4.3.07.11" : tipo == 7 ? "4.3.07.09" : "4.3.07.10"), I(0), I(cst), I(cst), A(16500),
                 A(76000), I(parcelas)});
      const int64_t quota = valor / parcelas;
      cred.Linha({I(FEmpresa), I(estab), I(b), D(FInicio), I(cst), I(cst), A(16500), A(76000), V(quota), V(quota),
                  V(Tributo(quota, 16500)), V(Tributo(quota, 76000))});
      cta.Linha({I(FEmpresa), I(estab), I(b), D(IncMonth(FInicio, -b * 3)), T("CC" + std::to_string(b % 3 + 1)),
                 T("1.2.3.01.00" + std::to_string(b))});
      const std::string natureza = tipo == 6 ? "4.3.07.11" : tipo == 7 ? "4.3.07.09" : "4.3.07.10";
      SomarCredito(estab, natureza, cst, 16500, 76000, false, origem ? 3000 : 0, quota, Tributo(quota, 16500),
                   Tributo(quota, 76000));
    }
  }

  // ------------------------------------------------------------ saldos de créditos e retidos
  void SaldosAnteriores() {
    if (!EhEFD()) return;
    const TDateTime anterior = IncMonth(FInicio, -1);
    auto& sc = c("EFDSALDOCOMPCRED",
                 "CODIGOEMPRESA DATATOTAL SEQ IMPOSTO TIPOAPURACAO PERAPUCRED ORIGCRED CNPJSUC CODCRED ALIQIMPOSTO VLCREDAPU "
                 "VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD VLCREDPEREFD VLCREDDCOMPEFD "
                 "VLCREDTRANS VLCREDOUT SLDCREDFIM");
    auto& sce = c("EFDSALDOCOMPCREDESTAB",
                  "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ IMPOSTO TIPOAPURACAO PERAPUCRED ORIGCRED CNPJSUC CODCRED "
                  "ALIQIMPOSTO VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD "
                  "VLCREDPEREFD VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT SLDCREDFIM");
    // créditos de dois e de três meses atrás ainda com saldo, e um agroindustrial presumido
    struct TCred {
      int Meses;
      const char* Cod;
      int64_t AliqPis, AliqCofins;
    };
    const TCred creditos[] = {{2, "4.3.06.101", 16500, 76000}, {3, "4.3.06.101", 16500, 76000},
                              {2, "4.3.06.102", 8000, 37000}, {3, "4.3.06.106", 9900, 45600}};
    int seq = 0, seqEstab = 0;
    for (const auto& cr : creditos)
      for (int imposto : {15, 16}) {
        const int64_t apu = s.Entre(100000, 2000000) * (imposto == 16 ? 4 : 1);
        const int64_t descAnt = Parte(apu, 30, 100), descEfd = Parte(apu, 20, 100);
        const TParams valores = {I(imposto), I(0), D(IncMonth(FInicio, -cr.Meses)), I(1), N(), T(cr.Cod),
                                 A(imposto == 15 ? cr.AliqPis : cr.AliqCofins), V(apu), V(0), V(descAnt), V(0), V(0),
                                 V(descEfd), V(0), V(0), V(0), V(0), V(apu - descAnt - descEfd)};
        TParams linha = {I(FEmpresa), D(anterior), I(++seq)};
        linha.insert(linha.end(), valores.begin(), valores.end());
        sc.Linha(linha);
        for (const auto& e : FEstabs) {
          if (e.SCP) continue;
          TParams le = {I(FEmpresa), I(e.Codigo), D(anterior), I(++seqEstab)};
          le.insert(le.end(), valores.begin(), valores.end());
          sce.Linha(le);
        }
      }
    auto& ini = c("EFDSALDOCOMPCREDINICIAL",
                  "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS TIPOCREDSPED SEQ IMPOSTO TIPOAPURACAO PERAPUCRED ORIGCRED CNPJSUC "
                  "CODCRED ALIQIMPOSTO VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT "
                  "VLCREDDESCEFD VLCREDPEREFD VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT");
    // saldo inicial informado na implantação e uma compensação declarada (PER/DCOMP) no mês
    ini.Linha({I(FEmpresa), I(1), D(anterior), I(0), I(1), I(15), I(0), D(IncMonth(FInicio, -12)), I(1), N(),
               T("4.3.06.201"), A(16500), V(250000), V(0), V(100000), V(0), V(0), V(0), V(0), V(0), V(0), V(0)});
    ini.Linha({I(FEmpresa), I(1), D(anterior), I(0), I(2), I(16), I(0), D(IncMonth(FInicio, -12)), I(1), N(),
               T("4.3.06.201"), A(76000), V(1150000), V(0), V(460000), V(0), V(0), V(0), V(0), V(0), V(0), V(0)});
    ini.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(3), I(16), I(0), D(IncMonth(FInicio, -12)), I(1), N(),
               T("4.3.06.201"), A(76000), V(0), V(0), V(0), V(0), V(0), V(0), V(0), V(200000), V(0), V(0)});

    if (FPerfil == TPerfilDemo::pdNaoCumulativo)
      c("EFDCREDITOEVENTOINCFUSCIS",
        "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDNATEVENTO PERAPUCRED CODIGOTABSPED INSCRFEDERAL TIPOAPURACAO "
        "VALORCREDTRANSFPIS VALORCREDTRANSFCOFINS PERCCREDITOTRANSF")
          .Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(1), D(IncMonth(FInicio, -2)), T("4.3.06.101"),
                  T(CNPJ(77777777, 1)), I(0), V(123456), V(568640), A(1000000)});

    auto& sr = c("EFDSALDORETIDO",
                 "CODIGOEMPRESA DATATOTAL SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER VLRETDCOMP "
                 "SLDRET VLDIFERIDOAPU VLDIFERIRAPU");
    auto& sre = c("EFDSALDORETIDOESTAB",
                  "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED "
                  "VLRETPER VLRETDCOMP SLDRET VLDIFERIDOAPU VLDIFERIRAPU");
    seq = 0;
    for (int imposto : {15, 16}) {
      const int64_t apu = imposto == 15 ? 65000 : 300000, ded = apu / 4;
      const TDateTime retencao = IncMonth(FInicio, -2) + 10;
      sr.Linha({I(FEmpresa), D(anterior), I(++seq), I(imposto), I(1), D(retencao), T("4.3.05.01"), V(apu), V(ded), V(0),
                V(0), V(apu - ded), V(0), V(0)});
      sre.Linha({I(FEmpresa), I(1), D(anterior), I(seq), I(imposto), I(1), D(retencao), T("4.3.05.01"), V(apu), V(ded),
                 V(0), V(0), V(apu - ded), V(0), V(0)});
    }
    auto& ri = c("EFDSALDORETIDOINICIAL",
                 "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER "
                 "VLRETDCOMP SLDRET");
    ri.Linha({I(FEmpresa), I(1), D(anterior), I(1), I(15), I(3), D(IncMonth(FInicio, -6)), T("4.3.05.51"), V(30000),
              V(10000), V(0), V(0), V(20000)});
    auto& rc = c("EFDSALDORETIDOCOMP",
                 "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET DATARETENCAO TIPODEBITO VLRETUTILREST "
                 "VLRETUTILCOMP");
    rc.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(16), I(1), D(IncMonth(FInicio, -2) + 10), T("4.3.05.01"), V(0),
              V(50000)});
    // compensação sem retenção correspondente: aparece na lista de avisos da execução
    rc.Linha({I(FEmpresa), I(1), D(FInicio), I(2), I(15), I(4), D(IncMonth(FInicio, -5)), T("4.3.05.01"), V(1000), V(0)});
  }

  // ------------------------------------------------------------ totais dos regimes (lucro real e presumido)
  void Regimes() {
    auto gravar = [&](const char* tabela, int op, int64_t v1, int64_t v2, int64_t v3) {
      c(tabela, "CODIGOEMPRESA DATATOTAL CODIGOOPERACAOFIS VALORTOTAL1 VALORTOTAL2 VALORTOTAL3 VALORTOTAL4")
          .Linha({I(FEmpresa), D(FInicio), I(op), V(v1), V(v2), V(v3), V(0)});
      for (const auto& e : FEstabs)
        c(std::string(tabela) + "ESTAB",
          "CODIGOEMPRESA CODIGOESTAB DATATOTAL CODIGOOPERACAOFIS VALORTOTAL1 VALORTOTAL2 VALORTOTAL3 VALORTOTAL4")
            .Linha({I(FEmpresa), I(e.Codigo), D(FInicio), I(op), V(Parte(v1, 1, static_cast<int64_t>(FEstabs.size()))),
                    V(Parte(v2, 1, static_cast<int64_t>(FEstabs.size()))),
                    V(Parte(v3, 1, static_cast<int64_t>(FEstabs.size()))), V(0)});
    };
    auto& deb = c("DEBITOFEDERAL",
                  "CODIGOEMPRESA CODIGOESTAB DATALCTOCTR SEQ CHAVEORIGEM CODIGOIMPOSTO VARIACAOIMPOSTO FORMADEBITO VALORDEBITO");
    if (FPerfil == TPerfilDemo::pdPresumido) {
      const int64_t pis = FMovSaidaCum(15), cofins = FMovSaidaCum(16);
      gravar("TOTALLUCROPRESUMIDO", 107, 0, 0, s.Entre(1000, 5000));
      gravar("TOTALLUCROPRESUMIDO", 167, 0, 0, s.Entre(5000, 20000));
      for (int op : {97, 98}) gravar("TOTALLUCROPRESUMIDO", op, 0, 0, s.Entre(500, 3000));
      for (int op : {157, 158}) gravar("TOTALLUCROPRESUMIDO", op, 0, 0, s.Entre(2000, 12000));
      deb.Linha({I(FEmpresa), I(1), D(FFim), I(1), T("FI-PIS2006"), I(8109), I(2), I(0), V(pis)});
      deb.Linha({I(FEmpresa), I(1), D(FFim), I(2), T("FI-COFINS2006"), I(2172), I(1), I(0), V(cofins)});
      c("LUCROPRESUMIDOPISPASEPFOLHA",
        "CODIGOEMPRESA CODIGOESTAB PERIODO ALIQUOTA TOTALFOLHA EXCLUSAO BASECALCULO VALORPISPASEP")
          .Linha({I(FEmpresa), I(1), D(FInicio), A(0), V(0), V(0), V(0), V(0)});
      auto& ret = c("TOTALLUCROPRESRETIDO",
                    "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET VLRETAPU VLRETDED VLRETPER "
                    "VLRETDCOMP SLDRET");
      ret.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(15), I(3), D(FInicio + 5), V(1500), V(0), V(0), V(0), V(1500)});
      ret.Linha({I(FEmpresa), I(1), D(FInicio), I(2), I(16), I(3), D(FInicio + 5), V(7000), V(0), V(0), V(0), V(7000)});
      return;
    }
    // lucro real (as empresas da EFD também guardam os totais do regime)
    for (int op : {2191, 2192}) gravar("TOTALLUCROREAL", op, s.Entre(1000, 9000), s.Entre(500, 4000), 0);
    for (int op : {2491, 2492}) gravar("TOTALLUCROREAL", op, s.Entre(5000, 40000), s.Entre(2000, 18000), 0);
    for (int op : {2185, 2485}) gravar("TOTALLUCROREAL", op, s.Entre(1000, 30000), s.Entre(0, 9000), 0);
    if (FPerfil == TPerfilDemo::pdMisto)
      for (int op : {8027, 8160}) gravar("TOTALLUCROREAL", op, s.Entre(1000, 30000), 0, 0);
    auto& cs = c("TOTALLUCROREALCREDSPED",
                 "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO CODCRED PERAPUCRED ORIGCRED CNPJSUC ALIQIMPOSTO "
                 "VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD VLCREDPEREFD "
                 "VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT");
    int seq = 0;
    for (int imposto : {15, 16})
      for (int meses : {0, 2}) {
        const int64_t apu = s.Entre(100000, 900000) * (imposto == 16 ? 4 : 1), desc = Parte(apu, 40, 100);
        cs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(++seq), I(imposto), T("4.3.06.101"), D(IncMonth(FInicio, -meses)),
                  I(1), N(), A(imposto == 15 ? 16500 : 76000), V(apu), V(0), V(0), V(0), V(0), V(desc), V(0), V(0), V(0),
                  V(0)});
      }
    auto& rs = c("TOTALLUCROREALRETIDOSPED",
                 "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER "
                 "VLRETDCOMP SLDRET");
    rs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(1), I(15), I(1), D(FInicio + 10), T("4.3.05.01"), V(6500), V(0), V(0),
              V(0), V(6500)});
    rs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(2), I(16), I(1), D(FInicio + 10), T("4.3.05.01"), V(30000), V(0),
              V(0), V(0), V(30000)});
    deb.Linha({I(FEmpresa), I(1), D(FFim), I(1), T("FI-LRPIS2006"), I(6912), I(1), I(0), V(s.Entre(100000, 900000))});
    deb.Linha({I(FEmpresa), I(1), D(FFim), I(2), T("FI-LRCOFINS2006"), I(5856), I(1), I(1), V(s.Entre(400000, 3600000))});
  }

  int64_t FMovSaidaCum(int imposto) const {
    int64_t t = 0;
    for (const auto& [k, v] : FDebitos)
      if (std::get<1>(k) == imposto && std::get<2>(k) >= "4.3.05.50") t += v.Tributo;
    return t;
  }

  // ------------------------------------------------------------ totais apurados da EFD
  struct TLinhaCred {
    std::string Codigo;  // 4.3.06.xyy
    int64_t Aliq4 = 0;
    bool PorUnidade = false;
    int64_t Credito = 0;
    struct TDet {
      std::string Natureza;
      int CST;
      int64_t BaseTot, Base;
      int64_t QuantTot = 0, Quant = 0;  // em milésimos (N(3) do registro)
    };
    std::vector<TDet> Dets;
  };

  // Parcela da receita de cada tipo (0 tributada não cumulativa, 1 não tributada, 2 exportação).
  std::vector<std::pair<char, int64_t>> Rateio(int cst) const {
    static const std::map<int, std::vector<int>> partes = {
        {53, {0, 1}}, {63, {0, 1}}, {54, {0, 2}}, {64, {0, 2}}, {55, {1, 2}}, {65, {1, 2}}, {56, {0, 1, 2}}, {66, {0, 1, 2}}};
    auto it = partes.find(cst);
    if (it == partes.end()) return {{cst == 51 || cst == 61 ? '2' : cst == 52 || cst == 62 ? '3' : '1', 1000000}};
    int64_t total = 0;
    for (int p : it->second) total += FReceita[p];
    std::vector<std::pair<char, int64_t>> r;
    for (int p : it->second)
      r.push_back({static_cast<char>('1' + p), total ? Parte(FReceita[p], 1000000, total) : 1000000 / 3});
    return r;
  }

  void TotaisEFD() {
    std::vector<int> estabs = {0};
    for (const auto& e : FEstabs) estabs.push_back(e.Codigo);
    int seqMov = 0;
    for (int estab : estabs) {
      for (int imposto : {15, 16}) TotaisImposto(estab, imposto);
      // movimento totalizado só por estabelecimento (a tabela já guarda o estabelecimento)
      if (estab == 0) continue;
      auto& mov = c("TOTALEFDMOV",
                    "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ TIPOIMPOSTO CST CODIGOTABSPED CODIGOCFOP TIPOLCTO VALORTOTAL "
                    "BASECALCULO VALORCONTRIB");
      for (const auto& [k, v] : FMov)
        if (std::get<0>(k) == estab)
          mov.Linha({I(FEmpresa), I(estab), D(FInicio), I(++seqMov), I(std::get<1>(k)), I(std::get<2>(k)), T(std::get<3>(k)),
                     I(std::get<5>(k)), I(std::get<4>(k)), V(v.Total), V(v.Base), V(v.Tributo)});
    }
  }

  // Grava os totais de um imposto para a empresa (estab 0) ou para um estabelecimento.
  void TotaisImposto(int estab, int imposto) {
    const std::string sufixo = estab ? "ESTAB" : "";
    const std::string pre = estab ? "CODIGOEMPRESA CODIGOESTAB " : "CODIGOEMPRESA ";
    auto chave = [&](int seq) {
      TParams p = {I(FEmpresa)};
      if (estab) p.push_back(I(estab));
      p.push_back(D(FInicio));
      p.push_back(I(imposto));
      p.push_back(I(seq));
      return p;
    };
    auto mais = [](TParams p, std::initializer_list<TVariant> resto) {
      p.insert(p.end(), resto.begin(), resto.end());
      return p;
    };
    const bool todos = estab == 0;

    // créditos: por código (regime + classe) e alíquota, detalhados por natureza e CST
    std::map<std::tuple<std::string, int64_t>, TLinhaCred> creds;
    for (const auto& [k, v] : FCreditos) {
      const auto& [est, imp, natureza, cst, aliq, classe] = k;
      if (imp != imposto || (!todos && est != estab)) continue;
      for (const auto& [regime, fracao] : Rateio(cst)) {
        const std::string codigo = std::string("4.3.06.") + regime + classe;
        auto& lc = creds[{codigo, aliq}];
        lc.Codigo = codigo;
        lc.Aliq4 = aliq;
        lc.PorUnidade = classe == "03";
        const int64_t base = Parte(v.Base, fracao, 1000000);
        const int64_t quant = Parte(v.Quantidade * 1000, fracao, 1000000);
        // O imobiliário (109) guarda o crédito; os demais o registro recalcula da base.
        if (classe == "09") lc.Credito += Parte(v.Tributo, fracao, 1000000);
        auto it = std::find_if(lc.Dets.begin(), lc.Dets.end(),
                               [&](const TLinhaCred::TDet& d) { return d.Natureza == natureza && d.CST == cst; });
        if (it == lc.Dets.end()) lc.Dets.push_back({natureza, cst, v.Base, base, v.Quantidade * 1000, quant});
        else it->BaseTot += v.Base, it->Base += base, it->QuantTot += v.Quantidade * 1000, it->Quant += quant;
      }
    }
    // Crédito como o M100 o calcula: base do M105 (a total nos CSTs de receita única) x
    // alíquota, ou quantidade x valor por unidade, arredondado uma vez.
    for (auto& [k, lc] : creds) {
      if (lc.Codigo.size() >= 2 && lc.Codigo.compare(lc.Codigo.size() - 2, 2, "09") == 0) continue;
      int64_t base = 0, quant = 0;
      for (const auto& d : lc.Dets) {
        const bool receitaUnica = d.CST == 50 || d.CST == 51 || d.CST == 60 || d.CST == 61 || d.CST == 62;
        base += receitaUnica ? d.BaseTot : d.Base;
        quant += d.Quant;
      }
      lc.Credito = lc.PorUnidade ? Parte(quant * lc.Aliq4, 1, 1000 * 100) : Tributo(base, lc.Aliq4);
    }
    // débitos
    struct TLinhaDeb {
      std::string Tipo;
      int64_t Aliq4;
      bool PorUnidade;
      TSoma Soma;
    };
    std::map<std::tuple<std::string, int64_t, bool>, TLinhaDeb> debs;
    for (const auto& [k, v] : FDebitos) {
      const auto& [est, imp, tipo, aliq, porUnidade] = k;
      if (imp != imposto || (!todos && est != estab)) continue;
      auto& ld = debs[{tipo, aliq, porUnidade}];
      ld.Tipo = tipo;
      ld.Aliq4 = aliq;
      ld.PorUnidade = porUnidade;
      ld.Soma.Somar(v.Total, v.Base, v.Tributo, v.Quantidade);
    }
    int64_t contNC = 0, contCum = 0, creditos = 0;
    bool reduziu = false;
    for (const auto& [k, d] : debs) {
      // A redução da base (M215) vai na primeira linha do código 01, como na gravação abaixo.
      int64_t reducao = 0;
      if (d.Tipo == "4.3.05.01" && !reduziu) {
        reduziu = true;
        if (todos || estab == 1) reducao = FAjusteBC;
      }
      const int64_t v = d.PorUnidade ? Parte(d.Soma.Quantidade * d.Aliq4, 1, 100) : Tributo(d.Soma.Base - reducao, d.Aliq4);
      (d.Tipo < "4.3.05.50" ? contNC : contCum) += v;
    }
    for (const auto& [k, lc] : creds) creditos += lc.Credito;
    int64_t ajusteCred = 0, ajusteCont = 0;
    if (todos || estab == 1)
      for (const auto& a : FAjustes) (a.Tipo == 0 ? ajusteCred : ajusteCont) += imposto == 15 ? a.Pis : a.Cofins;
    creditos = std::max<int64_t>(0, creditos - ajusteCred);
    contNC += ajusteCont;
    const int64_t descontado = std::min(creditos, contNC);
    int64_t retido = 0;
    for (const auto& [k, v] : FRetido)
      if (k.second == imposto && (todos || k.first == estab)) retido += v;
    const int64_t dedNC = todos || estab == 1 ? FDeducao.count({imposto, 0}) ? FDeducao.at({imposto, 0}) : 0 : 0;
    const int64_t dedCum = todos || estab == 1 ? FDeducao.count({imposto, 1}) ? FDeducao.at({imposto, 1}) : 0 : 0;
    const int64_t retNC = std::min(retido, contNC - descontado);
    const int64_t outNC = std::min(dedNC, contNC - descontado - retNC);
    const int64_t recNC = contNC - descontado - retNC - outNC;
    const int64_t retCum = std::min(retido - retNC, contCum);
    const int64_t outCum = std::min(dedCum, contCum - retCum);
    const int64_t recCum = contCum - retCum - outCum;
    int64_t diferir = 0, diferido = 0;
    for (const auto& d : FDiferido)
      if (todos || d.Estab == estab) {
        if (d.Anterior) diferido += Tributo(d.Base, imposto == 15 ? 6500 : 30000);
        else diferir += Tributo(Parte(d.Base, d.Aberto, d.Aberto + d.Recebido), imposto == 15 ? 16500 : 76000);
      }

    c("TOTALEFD" + sufixo,
      pre + "DATATOTAL TIPOIMPOSTO SEQ VLTOTCONTNCPER VLTOTCREDDESC VLTOTCREDDESCANT VLTOTCONTNCDEV VLRETNC VLOUTDEDNC "
            "VLCONTNCREC VLTOTCONTCUMPER VLRETCUM VLOUTDEDCUM VLDIFERIDOCUM VLDIFERIRCUM")
        .Linha(mais(chave(1), {V(contNC), V(descontado), V(0), V(contNC - descontado), V(retNC), V(outNC), V(recNC),
                               V(contCum), V(retCum), V(outCum), V(diferido), V(diferir)}));

    auto& tc = c("TOTALEFDCRED" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ TIPOCREDITO INDCREDORI ALIQ ALIQQUANT VLCRED "
                                                "VLCREDDIF VLCREDDESC");
    auto& td = c("TOTALEFDCREDDET" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQCRED TIPOCREDITO CST VLBCTOT VLBCCUM "
                                                   "VLBCNCUM VLBC QUANTBCTOT QUANTBC DESCCRED");
    int seqCred = 0, seqDet = 0, seqCred101 = 0;
    int64_t aDescontar = descontado;
    for (const auto& [k, lc] : creds) {
      ++seqCred;
      int64_t disponivel = lc.Credito;
      if (lc.Codigo == "4.3.06.101" && !seqCred101) {
        seqCred101 = seqCred;
        // os ajustes de crédito (M110) ficam neste registro e reduzem o que ele tem a descontar
        if (todos || estab == 1) disponivel = std::max<int64_t>(0, disponivel - ajusteCred);
      }
      const int64_t desc = std::min(aDescontar, disponivel);
      aDescontar -= desc;
      tc.Linha(mais(chave(seqCred), {T(lc.Codigo), I(0), A(lc.PorUnidade ? 0 : lc.Aliq4), A(lc.PorUnidade ? lc.Aliq4 : 0),
                                     V(lc.Credito), V(0), V(desc)}));
      for (const auto& d : lc.Dets)
        td.Linha(mais(chave(++seqDet), {I(seqCred), T(d.Natureza), I(d.CST), V(d.BaseTot), V(0), V(d.BaseTot - d.Base),
                                        V(d.Base), Q(d.QuantTot), Q(d.Quant), d.Natureza == "4.3.07.13" ? T("OUTRAS OPERAÇÕES") : N()}));
    }

    auto& tdb = c("TOTALEFDDEBITO" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ TIPODEBITO VLRRECBRT VLBCCONT ALIQ QUANTBC "
                                                   "VLAJUSACRESBCPISCOFINS VLAJUSREDUCBCPISCOFINS VLBCCONTAJUS");
    int seqDeb = 0, seqDebNC = 0;
    int64_t baseDebNC = 0;
    for (const auto& [k, d] : debs) {
      ++seqDeb;
      if (d.Tipo == "4.3.05.01" && !seqDebNC) {
        seqDebNC = seqDeb;
        baseDebNC = d.PorUnidade ? 0 : d.Soma.Base;
      }
      const int64_t reducao = d.Tipo == "4.3.05.01" && seqDebNC == seqDeb && (todos || estab == 1) ? FAjusteBC : 0;
      tdb.Linha(mais(chave(seqDeb), {T(d.Tipo), V(d.Soma.Total), V(d.PorUnidade ? 0 : d.Soma.Base), A(d.Aliq4),
                                     I(d.PorUnidade ? d.Soma.Quantidade : 0), V(0), V(reducao),
                                     V(d.PorUnidade ? 0 : d.Soma.Base - reducao)}));
    }

    auto& pag = c("TOTALEFDDEBPAGAR" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ NUMCAMPO CODREC VLDEBITO");
    if (recNC > 0) pag.Linha(mais(chave(1), {T("08"), T(imposto == 15 ? "691201" : "585601"), V(recNC)}));
    if (recCum > 0) pag.Linha(mais(chave(2), {T("12"), T(imposto == 15 ? "810902" : "217201"), V(recCum)}));

    auto& ise = c("TOTALEFDISENTAS" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ CST CODCTA DESCCOMPL TIPODEBITO VLREC");
    int seqIse = 0;
    std::map<std::tuple<int, std::string, std::string>, int64_t> isentas;
    for (const auto& [k, v] : FIsentas) {
      const auto& [est, imp, cst, tipo, conta] = k;
      if (imp == imposto && (todos || est == estab)) isentas[{cst, tipo, conta}] += v.Total;
    }
    for (const auto& [k, v] : isentas)
      ise.Linha(mais(chave(++seqIse), {I(std::get<0>(k)), T(std::get<2>(k)), N(), T(std::get<1>(k)), V(v)}));

    if ((todos || estab == 1) && seqCred101 && seqDebNC) {
      auto& aj = c("TOTALEFDAJUSTE" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQCREDDEB TIPOAJUSTE INDAJ VLAJ CODAJ NUMDOC "
                                                    "DESCRAJ DTREF");
      auto& ad = c("TOTALEFDAJUSTEDET" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQAJUSTE CST DETBCCRED DETALIQ DETVALORAJ "
                                                       "DTOPERAJ DESCAJ CODCTA INFOCOMPL");
      int seqAj = 0;
      for (const auto& a : FAjustes) {
        ++seqAj;
        const int64_t valor = imposto == 15 ? a.Pis : a.Cofins;
        aj.Linha(mais(chave(seqAj), {I(a.Tipo == 0 ? seqCred101 : seqDebNC), I(a.Tipo), T(a.Indicador), V(valor),
                                     T(a.Codigo), T(""), T(a.Tipo == 0 ? "ESTORNO DE CRÉDITO" : "DIFERENÇA DE ALÍQUOTA"),
                                     D(FInicio + 25)}));
        if (a.Base)
          ad.Linha(mais(chave(seqAj), {I(seqAj), I(50), V(a.Base), A(imposto == 15 ? 16500 : 76000), V(valor),
                                       D(FInicio + 25), T("MERCADORIA FURTADA"), T("1.1.3.01.001"), N()}));
      }
      if (FAjusteBC)
        c("TOTALEFDAJUSTEBC" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB INDAJBC VLAJBC CODAJBC NUMDOC DESCRAJBC DTREF "
                                             "CODCTA CNPJ INFOCOMPL")
            .Linha(mais(chave(1), {I(seqDebNC), I(0), V(FAjusteBC), T("4.3.18.01"), T("0012345-67.2019.4.03.6100"),
                                   T("EXCLUSÃO DO ICMS DESTACADO"), D(FInicio + 27), T("3.1.1.01.001"), N(), N()}));
      // A composição da cooperativa parte da base antes das exclusões: o M211 devolve a base do M210.
      if (FCoop.first)
        c("TOTALEFDEXCLUCOOP" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB INDTIPCOOP VLBCCONTANTEXCCOOP VLEXCCOOPGER "
                                              "VLEXCESPCOOP")
            .Linha(mais(chave(1), {I(seqDebNC), I(1), V(baseDebNC + FCoop.first + FCoop.second), V(FCoop.first),
                                   V(FCoop.second)}));
      auto& inf = c("TOTALEFDINFADICDIFERIDO" + sufixo,
                    pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB TIPOCREDITO CNPJ VLVEND VLNAORECEB VLCONTDIF VLCREDDIF");
      auto& ant = c("TOTALEFDDIFERIDOPERANT" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB TIPODEBITO NATCREDDESC PERAPUR "
                                                             "DTRECEB VLCONTAPURDIFER VLCREDDESCDIFER");
      int seqInf = 0, seqAnt = 0;
      const int64_t aliq = imposto == 15 ? 16500 : 76000;
      for (const auto& d : FDiferido) {
        if (!todos && d.Estab != estab) continue;
        if (d.Anterior)
          ant.Linha(mais(chave(++seqAnt), {I(seqDebNC), T("4.3.05.01"), T(""), T(FormatDateTime("mmyyyy", d.Dia)),
                                           D(FInicio + 4), V(Tributo(d.Base, aliq)), V(0)}));
        else if (d.Aberto > 0)
          inf.Linha(mais(chave(++seqInf), {I(seqDebNC), N(), T(CNPJ(60000000, 1)), V(d.Aberto + d.Recebido), V(d.Aberto),
                                           V(Tributo(Parte(d.Base, d.Aberto, d.Aberto + d.Recebido), aliq)), V(0)}));
      }
    }
  }

  struct TAjusteDemo {
    int Tipo;
    std::string Indicador, Codigo;
    int64_t Pis, Cofins, Base;
  };
  struct TDiferidoDemo {
    int Estab;
    bool Anterior;
    int64_t Aberto, Base, Recebido;
    TDateTime Dia;
  };

  TCarga& c;
  TSorteio s;
  const TConfigDemo& FCfg;
  int FEmpresa;
  TPerfilDemo FPerfil;
  TDateTime FInicio, FFim;
  int FDias;
  int64_t FLinhas;
  int64_t& FLancamentos;
  std::vector<TEstabDemo> FEstabs;
  std::vector<TProdutoDemo> FProdutos;
  std::vector<TLinhaEntrada> FAmostraEntradas;
  int64_t FChaveEnt = 0, FChaveSai = 0, FChaveDup = 0;
  std::map<TChaveCredito, TSoma> FCreditos;
  std::map<TChaveDebito, TSoma> FDebitos;
  std::map<TChaveIsenta, TSoma> FIsentas;
  std::map<TChaveMov, TSoma> FMov;
  std::map<std::pair<int, int>, int64_t> FRetido;   // (estab, imposto)
  std::map<std::pair<int, int>, int64_t> FDeducao;  // (imposto, natureza)
  std::map<int64_t, int64_t> FRecebidoOrgao;        // chave do lançamento -> recebido no mês
  std::vector<TAjusteDemo> FAjustes;
  std::vector<TDiferidoDemo> FDiferido;
  std::set<int> FDiasECF;
  int64_t FReceita[3] = {0, 0, 0};
  int64_t FAjusteBC = 0;
  std::pair<int64_t, int64_t> FCoop = {0, 0};
};

int64_t ContarTabelas(TDatabase& banco) {
  const char* sql = banco.Dialeto() == TDialeto::dSQLite
                        ? "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                        : "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()";
  auto ds = banco.Abrir(sql);
  return ds->Eof() ? 0 : ds->Fields(0).AsInteger();
}

int64_t Contar(TDatabase& banco, const std::string& tabela) {
  auto ds = banco.Abrir("SELECT count(*) FROM " + tabela);
  return ds->Fields(0).AsInteger();
}

}  // namespace

TResumoDemo GerarBancoDemo(TDatabase& banco, const TConfigDemo& cfg) {
  if (cfg.Empresas < 1 || cfg.Empresas > 9999)
    throw EEntradaInvalida("demo-db: o número de empresas deve estar entre 1 e 9999");
  if (cfg.Linhas < 0 || cfg.Linhas > 100000000)
    throw EEntradaInvalida("demo-db: o número de linhas deve estar entre 1 e 100000000");
  const int64_t tabelas = ContarTabelas(banco);
  if (tabelas > 0)
    throw EEntradaInvalida("demo-db: o banco de destino não está vazio (" + std::to_string(tabelas) +
                           " tabelas); informe um banco novo");
  const TDateTime inicio = cfg.InicioCompetencia > 0 ? StartOfTheMonth(cfg.InicioCompetencia) : EncodeDate(2024, 1, 1);
  const auto esquema = TabelasSchema();

  TResumoDemo resumo;
  TCarga carga(banco);
  banco.IniciarTransacao();
  try {
    banco.ExecutarScript(GerarDDL(banco.Dialeto(), esquema, TParteDDL::pdTabelas));
    TSorteio comum(Misturar(cfg.Semente));
    GravarCadastrosComuns(carga, comum);
    for (int empresa = 1; empresa <= cfg.Empresas; ++empresa) {
      const auto perfil = static_cast<TPerfilDemo>((empresa - 1) % 3);
      const int64_t linhas = cfg.Linhas > 0 ? cfg.Linhas : 240 + 60 * ((empresa - 1) % 3);
      TGeradorEmpresa(carga, cfg, empresa, perfil, inicio, linhas, resumo.LinhasLancamento).Gerar();
      carga.Descarregar();
      GerarOpcoesDemo(banco, empresa, perfil, inicio);
    }
    // A ordem de compensação e a data da opção pela EFD podem já ter vindo com as opções
    // da demonstração; só completa o que faltar.
    if (Contar(banco, "EFDORDEMCOMPCRED") == 0) GravarOrdemCompensacao(carga, inicio);
    if (Contar(banco, "OPCAOEFD") == 0)
      for (int empresa = 1; empresa <= cfg.Empresas; ++empresa)
        if ((empresa - 1) % 3 != static_cast<int>(TPerfilDemo::pdPresumido))
          carga("OPCAOEFD", "CODIGOEMPRESA CODIGOESTAB DATAEFD REGIMEAPU")
              .Linha({I(empresa), I(1), D(EncodeDate(2011, 1, 1)), I(1)});
    carga.Descarregar();
    if (cfg.Progresso) cfg.Progresso("criando os índices");
    banco.ExecutarScript(GerarDDL(banco.Dialeto(), esquema, TParteDDL::pdIndices));
    banco.Confirmar();
  } catch (...) {
    if (banco.EmTransacao()) banco.Desfazer();
    throw;
  }
  resumo.LinhasGravadas = carga.Gravadas();
  return resumo;
}
