// Saídas: vendas por CST, vendas a órgãos públicos (diferimento).
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::Saidas() {
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
      // Devolve no máximo o que entrou: uma devolução maior que a compra deixaria o crédito
      // daquela linha negativo depois do estorno (M100 com crédito disponível abaixo de zero).
      const int64_t total = origem ? std::min(s.Entre(3000, 1500000), origem->Base) : s.Entre(3000, 1500000);
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
        // Na cooperativa com diferimento, as vendas a órgãos públicos do mês ficam a receber (M230).
        const bool aReceber = tipo == 3 && FPerfil == TPerfilDemo::pdCumulativoDiferido;
        if (venc <= FFim && !aReceber && s.Chance(tipo == 3 ? 60 : 85)) {
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
  if (FPerfil == TPerfilDemo::pdNaoCumulativo) DevolucoesFixas();
}

// Valores fixos, sem sorteio: devolução de compra da entrada fixa em três linhas do mesmo
// produto (a terceira já não tem linha de entrada a estornar) e baixas de estoque sob
// 5949 e 6949 (CST 49, débito 4.3.08.06), que reduzem o crédito pelo CST de ajuste.
void TGeradorEmpresa::DevolucoesFixas() {
  if (!FChaveEntFixa) return;
  auto& cab = c("LCTOFISSAI", Lado(kColsCab, "SAI"));
  auto& prod = c("LCTOFISSAIPRODUTO", Lado(kColsProd, "SAI"));
  auto& pc = c("LCTOFISSAIPISCOFINS", Lado(kColsPC, "SAI"));
  auto& cf = c("LCTOFISSAICFOP", Lado(kColsCfop, "SAI"));
  struct TDoc {
    int Cfop;
    std::string Debito, Hist;
    std::vector<int64_t> Bases;
  };
  const TDoc docs[] = {{5202, "4.3.05.00", "DEVOLUÇÃO DA NF DE ENTRADA " + std::to_string(FChaveEntFixa), {50000, 40000, 30000}},
                       {5949, "4.3.08.06", "BAIXA DE ESTOQUE AVARIADO", {60000}},
                       {6949, "4.3.08.06", "BAIXA DE ESTOQUE EM TRÂNSITO", {70000}}};
  const TDateTime dia = FInicio + 22;
  for (const auto& d : docs) {
    const int64_t chave = ++FChaveSai;
    int64_t total = 0;
    int seq = 0;
    for (int64_t base : d.Bases) {
      ++seq;
      prod.Linha({I(FEmpresa), I(1), I(chave), I(FProdutoDevolvido), I(seq), D(dia), I(d.Cfop), T("000"), T("UN"), I(1),
                  V(base), V(0), V(base), A(180000), V(Tributo(base, 180000)), V(0), V(0), V(0), A(0), V(0), V(0), A(0),
                  V(0), V(0), T("99"), I(0), N()});
      pc.Linha({I(FEmpresa), I(1), I(chave), I(FProdutoDevolvido), I(seq), D(dia), I(d.Cfop), I(49), I(49), A(16500),
                A(76000), I(0), V(base), V(0), V(base), V(Tributo(base, 16500)), V(Tributo(base, 76000)), N(), N(),
                T(d.Debito), T(d.Debito), T("1.1.3.01.001")});
      total += base;
    }
    if (d.Cfop == 5202)
      c("LCTOFISSAISPEDC113", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI SEQ DATALCTOFIS CHAVELCTOFISENTREF")
          .Linha({I(FEmpresa), I(1), I(chave), I(1), D(dia), I(FChaveEntFixa)});
    cf.Linha({I(FEmpresa), I(1), I(chave), I(1), D(dia), I(d.Cfop), I(1), V(total), V(0), V(0),
              V(Tributo(total, 180000))});
    cab.Linha({I(FEmpresa), I(1), I(chave), D(dia), I(11), I(chave), N(), T("NF"), T("1"), T(""), D(dia), N(), V(total),
               V(0), V(0), V(0), V(0), V(0), V(0), T("0"), T("55"), T(Chave44Fixa(chave)), N(), I(9), I(0), I(0), T("0"),
               T(d.Hist), N(), N(), N()});
  }
}

void TGeradorEmpresa::VendaOrgaoPublico(int estab, int64_t chave, TDateTime dia, int64_t total, int64_t base, bool anterior) {
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

}  // namespace demo
