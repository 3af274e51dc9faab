// Documentos que só os blocos C e D leem: nota de venda a consumidor (modelo 2), contas de
// energia emitidas (06), transporte (08), cupons de transporte (13, 2E), comunicação (21),
// SAT com processo e notas de entrada modelo 1 e 2. Poucos documentos, valores fixos (sem
// sorteio, para não mudar o resto da demonstração); entram nos totais como os demais.
#include "db/demo/DemoEmpresa.h"

namespace demo {

namespace {

constexpr const char* kProcesso = "0012345-67.2019.4.03.6100";

// Chave de documento eletrônico sem sorteio.
std::string ChaveFixa(int64_t chave) {
  char b[64];
  std::snprintf(b, sizeof b, "35240112345678000199%024lld", static_cast<long long>(chave));
  return b;
}

}  // namespace

void TGeradorEmpresa::DocumentosBlocosCD() {
  // Só as empresas com processo, impressora fiscal e SAT cadastrados.
  if (FPerfil != TPerfilDemo::pdNaoCumulativo) return;
  auto& cabS = c("LCTOFISSAI", Lado(kColsCab, "SAI"));
  auto& prodS = c("LCTOFISSAIPRODUTO", Lado(kColsProd, "SAI"));
  auto& pcS = c("LCTOFISSAIPISCOFINS", Lado(kColsPC, "SAI"));
  auto& cfS = c("LCTOFISSAICFOP", Lado(kColsCfop, "SAI"));
  auto& cabE = c("LCTOFISENT", Lado(kColsCab, "ENT"));
  auto& prodE = c("LCTOFISENTPRODUTO", Lado(kColsProd, "ENT"));
  auto& pcE = c("LCTOFISENTPISCOFINS", Lado(kColsPC, "ENT"));
  auto& cfE = c("LCTOFISENTCFOP", Lado(kColsCfop, "ENT"));
  auto& procS = c("LCTOFISSAISPEDC111", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI SEQ DATALCTOFIS NUMPROC");
  auto& procE = c("LCTOFISENTSPEDC111", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT SEQ DATALCTOFIS NUMPROC");
  const TDateTime dia = FInicio + 9;
  const int estab = 1;
  const int pessoa = 11;  // pessoa com município

  struct TDoc {
    const char* Modelo;
    int Cfop;
    int Produto;
    int64_t Total;
    bool Quantidade;  // tributado por unidade (SAT do C880)
    bool Processo;
  };
  // Saídas tributadas (CST 01) de cada modelo.
  const TDoc saidas[] = {
      {"2", 5102, 2, 45000, false, false},   {"6", 5253, 1, 128000, false, true}, {"8", 5352, 3, 76000, false, true},
      {"13", 5357, 4, 3500, false, true},    {"2E", 5102, 5, 8900, false, false}, {"21", 5303, 6, 52000, false, true},
      {"59", 5102, 1, 6400, true, true},     {"55", 5102, 1, 99000, false, true},
  };
  for (const auto& d : saidas) {
    const int64_t chave = ++FChaveSai;
    const std::string modelo = d.Modelo;
    const TProdutoDemo& p = FProdutos[static_cast<size_t>(d.Produto - 1) % FProdutos.size()];
    const int64_t qtd = d.Quantidade ? 10 : 0;
    const int64_t aliqPis = d.Quantidade ? 1200 : 16500, aliqCofins = d.Quantidade ? 5500 : 76000;
    const int64_t base = d.Quantidade ? 0 : d.Total;
    const int64_t pis = d.Quantidade ? Tributo(qtd * 100, aliqPis) : Tributo(base, aliqPis);
    const int64_t cofins = d.Quantidade ? Tributo(qtd * 100, aliqCofins) : Tributo(base, aliqCofins);
    const int cst = d.Quantidade ? 3 : 1;
    const std::string debito = d.Quantidade ? "4.3.05.03" : "4.3.05.01";
    prodS.Linha({I(FEmpresa), I(estab), I(chave), I(p.Codigo), I(1), D(dia), I(d.Cfop), T("000"), T("UN"), I(qtd ? qtd : 1),
                 V(d.Total), V(0), V(d.Total), A(180000), V(Tributo(d.Total, 180000)), V(0), V(0), V(0), A(0), V(0), V(0),
                 A(0), V(0), V(0), T("99"), I(0), N()});
    pcS.Linha({I(FEmpresa), I(estab), I(chave), I(p.Codigo), I(1), D(dia), I(d.Cfop), I(cst), I(cst), A(aliqPis),
               A(aliqCofins), I(qtd), V(d.Total), V(0), V(base), V(pis), V(cofins), N(), N(), T(debito), T(debito),
               T("3.1.1.01.001")});
    cfS.Linha({I(FEmpresa), I(estab), I(chave), I(1), D(dia), I(d.Cfop), I(1), V(d.Total), V(0), V(0),
               V(Tributo(d.Total, 180000))});
    const bool reducao = modelo == "2E";
    const bool sat = modelo == "59";
    cabS.Linha({I(FEmpresa), I(estab), I(chave), D(dia), I(sat || modelo == "2" ? kConsumidorFinal : pessoa), I(chave),
                modelo == "2" || sat || modelo == "13" ? I(chave + 50) : N(), T("NF"), T(" 1  "), T(""), D(dia), N(),
                V(d.Total), V(0), V(0), V(0), V(0), V(0), V(0), T("0"), T(modelo), modelo == "55" ? T(ChaveFixa(chave)) : N(),
                N(), I(9), I(0), I(0), T("0"), N(), N(), reducao ? I(FEmpresa * 1000 + 99) : N(), sat ? I(1) : N()});
    if (d.Processo) procS.Linha({I(FEmpresa), I(estab), I(chave), I(1), D(dia), T(kProcesso)});
    if (modelo == "6")
      c("LCTOFISSAISPEDC500",
        "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI DATALCTOFIS CODIGOCONSUMO CONSTOTKWH VALORTERCEIRO VALORFORNECIMENTO")
          .Linha({I(FEmpresa), I(estab), I(chave), D(dia), T("01"), Q(1520000), V(0), V(d.Total)});
    if (modelo == "21")
      c("LCTOFISSAIPRODUTOSPEDD510",
        "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI SEQ DATALCTOFIS INDRECEITA CODIGOCLASS")
          .Linha({I(FEmpresa), I(estab), I(chave), I(1), D(dia), I(0), T("0101")});
    if (reducao)
      c("LCTOFISSAIREDUCAOZ",
        "CODIGOEMPRESA CODIGOESTAB CODIGOREDUCAOZ CODIGOIMPRESSORAFISCAL DATALCTOFIS CONTADORREINICIOOPERACAO "
        "CONTADORREDUCAOZ CUPOMFINAL TOTALGERAL TOTALBRUTO")
          .Linha({I(FEmpresa), I(estab), I(FEmpresa * 1000 + 99), I(1), D(dia), I(3), I(499), I(9900), V(200000000),
                  V(d.Total)});
    FDebitos[{estab, 15, debito, aliqPis, d.Quantidade}].Somar(d.Total, base, pis, qtd);
    FDebitos[{estab, 16, debito, aliqCofins, d.Quantidade}].Somar(d.Total, base, cofins, qtd);
    FMov[{estab, 15, cst, debito, 1, d.Cfop}].Somar(d.Total, base, pis);
    FMov[{estab, 16, cst, debito, 1, d.Cfop}].Somar(d.Total, base, cofins);
    FReceita[0] += d.Total;
  }

  // Entradas com crédito (CST 50): nota modelo 1, nota a consumidor modelo 2, frete, comunicação
  // energia modelo 6 e importação (frete e comunicação com processo).
  const TDoc entradas[] = {
      {"1", 1102, 2, 81000, false, true}, {"2", 1102, 3, 23000, false, false}, {"57", 1353, 4, 15000, false, true},
      {"21", 1303, 6, 34000, false, true}, {"6", 1253, 1, 67000, false, false}, {"55", 3102, 7, 52000, false, false},
  };
  for (const auto& d : entradas) {
    const int64_t chave = ++FChaveEnt;
    const std::string modelo = d.Modelo;
    const TProdutoDemo& p = FProdutos[static_cast<size_t>(d.Produto - 1) % FProdutos.size()];
    const std::string natureza = modelo == "57" ? "4.3.07.07" : modelo == "21" ? "4.3.07.13"
                                 : modelo == "6"   ? "4.3.07.04" : "4.3.07.01";
    const int64_t pis = Tributo(d.Total, 16500), cofins = Tributo(d.Total, 76000);
    prodE.Linha({I(FEmpresa), I(estab), I(chave), I(p.Codigo), I(1), D(dia), I(d.Cfop), T("000"), T("UN"), I(1),
                 V(d.Total), V(0), V(d.Total), A(180000), V(Tributo(d.Total, 180000)), V(0), V(0), V(0), A(0), V(0), V(0),
                 A(0), V(0), V(0), T("49"), I(0), modelo == "57" ? I(2) : N()});
    pcE.Linha({I(FEmpresa), I(estab), I(chave), I(p.Codigo), I(1), D(dia), I(d.Cfop), I(50), I(50), A(16500), A(76000),
               I(0), V(d.Total), V(0), V(d.Total), V(pis), V(cofins), T(natureza), T(natureza), N(), N(),
               T("1.1.3.01.001")});
    cfE.Linha({I(FEmpresa), I(estab), I(chave), I(1), D(dia), I(d.Cfop), I(1), V(d.Total), V(0), V(0),
               V(Tributo(d.Total, 180000))});
    cabE.Linha({I(FEmpresa), I(estab), I(chave), D(dia), I(pessoa), I(700000 + chave % 100000), N(), T("NF"),
                T("1"), T(""), D(dia), N(), V(d.Total), V(0), V(0), V(0), V(0), V(0), V(0), T("1"), T(modelo),
                modelo == "57" ? T(ChaveFixa(chave)) : N(), N(), I(9), I(0), I(0), T("0"), N(), N(), N(), N()});
    if (d.Processo) procE.Linha({I(FEmpresa), I(estab), I(chave), I(1), D(dia), T(kProcesso)});
    if (modelo == "55")  // importação com o documento do C120/C199
      c("LCTOFISENTSPEDC120",
        "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT SEQ CODIGOPRODUTO DATALCTOFIS CDDOCIMP NUMDOCIMP VLRPISIMP "
        "VLRCOFINSIMP NUMACDRAW")
          .Linha({I(FEmpresa), I(estab), I(chave), I(1), I(p.Codigo), D(dia), I(0), T("24/0001234"), V(pis), V(cofins),
                  N()});
    if (modelo == "21")
      c("LCTOFISENTSPEDD500", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT DATALCTOFIS VALORTERCEIRO")
          .Linha({I(FEmpresa), I(estab), I(chave), D(dia), V(0)});
    SomarCredito(estab, natureza, 50, 16500, 76000, false, d.Cfop, d.Total, pis, cofins);
    FMov[{estab, 15, 50, natureza, 0, d.Cfop}].Somar(d.Total, d.Total, pis);
    FMov[{estab, 16, 50, natureza, 0, d.Cfop}].Somar(d.Total, d.Total, cofins);
  }
}

}  // namespace demo
